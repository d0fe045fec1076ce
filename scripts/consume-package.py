#!/usr/bin/python3
"""Plays the robot build tool's part for one platform: reads a vendordep file, finds each
artifact it names in a local Maven repository from the file's coordinates alone, unpacks the
headers and the platform's library (libBrovaDriver.so, the C++ dependency's) into a fresh
folder, builds a C++ and a Java robot program against only those, and runs both on the
simulated platform standing in for the robot's HAL (libwpiHal.so), with simulated BrovaQuads
answering on devices 5 and 6 and a BrovaSmall on device 7.

With --wpilib it plays a desktop simulation instead, over WPILib's own simulation HAL (a folder
that scripts/wpilib-hal.sh built): as the build tool does for a simulation, it also takes the
dependencies marked "simMode": "swsim" (the device models, libBrovaDriverSim.so), and the robot
programs of tests/package/wpilib/, with no simulation code of their own, initialise the HAL,
enable the simulated Driver Station and check what the C entry points, the C++ objects and the
Java objects read from the library's device models, the simulated devices they show as, and the
simulation objects.

  scripts/consume-package.py VENDORDEP.json REPOSITORY STAND_IN_DIR [--platform linuxx86-64]
  scripts/consume-package.py VENDORDEP.json REPOSITORY --wpilib build/wpilib/TAG

Exits 0 when both programs build and pass; otherwise names what failed.
"""

import argparse
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
PROGRAMS = ROOT / "tests" / "package"


def maven_path(repo, dependency, classifier, extension):
    group = dependency["groupId"].replace(".", "/")
    artifact = dependency["artifactId"]
    version = dependency["version"]
    suffix = f"-{classifier}" if classifier else ""
    return repo / group / artifact / version / f"{artifact}-{version}{suffix}.{extension}"


def fetch(path):
    if not path.is_file():
        raise SystemExit(f"consume-package: the vendordep names {path}, which is not there")
    return path


def run(command, **kwargs):
    print("$", " ".join(str(part) for part in command), flush=True)
    subprocess.run([str(part) for part in command], check=True, **kwargs)


def java_includes():
    javac = pathlib.Path(shutil.which("javac")).resolve()
    home = javac.parent.parent
    return [f"-I{home / 'include'}", f"-I{home / 'include' / 'linux'}"]


def run_over_wpilib(work, headers, libraries, link, jar, wpilib):
    """Builds the harness against WPILib's headers and the robot programs against the packaged
    artifacts, and runs them with WPILib's libwpiHal.so as the HAL."""
    if not (wpilib / "done").is_file():
        raise SystemExit(f"consume-package: no finished WPILib build in {wpilib}")
    programs = PROGRAMS / "wpilib"
    wpilib_libraries = wpilib / "lib"
    includes = [f"-I{line}" for line in (wpilib / "include.txt").read_text().split()]
    harness = work / "libbrova-wpilib-harness.so"
    run(["c++", "-std=c++20", "-shared", "-fPIC", "-o", harness, programs / "Harness.cpp",
         f"-I{programs}", *includes, *java_includes(), f"-L{wpilib_libraries}", "-lwpiHal",
         "-lwpiutil", "-Wl,--no-undefined", "-pthread"])
    environment = dict(os.environ)
    environment["LD_LIBRARY_PATH"] = f"{libraries}:{wpilib_libraries}:{work}"
    # The robot's HAL is WPILib's, found by the name the packaged libraries record.
    robot = work / "wpilib-robot"
    run(["c++", "-std=c++20", "-o", robot, programs / "WpilibRobot.cpp", f"-I{headers}",
         f"-I{programs}", f"-I{ROOT / 'tests' / 'support'}", f"-L{libraries}", *link, f"-L{work}",
         "-lbrova-wpilib-harness",
         f"-L{wpilib_libraries}", "-lwpiHal", f"-Wl,-rpath-link,{wpilib_libraries}", "-pthread"])
    run([robot], env=environment)
    classes = work / "wpilib-classes"
    run(["javac", "-d", classes, "-cp", jar, programs / "WpilibRobot.java",
         programs / "WpilibHarness.java"])
    run(["java", f"-Djava.library.path={libraries}", f"-Dbrova.harness={harness}",
         "-cp", f"{jar}:{classes}", "WpilibRobot"], env=environment)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("vendordep", type=pathlib.Path)
    parser.add_argument("repository", type=pathlib.Path)
    parser.add_argument("stand_in", type=pathlib.Path, nargs="?",
                        help="folder holding the stand-in libwpiHal.so")
    parser.add_argument("--wpilib", type=pathlib.Path,
                        help="a WPILib simulation HAL built by scripts/wpilib-hal.sh")
    parser.add_argument("--platform", default="linuxx86-64")
    args = parser.parse_args()
    if (args.stand_in is None) == (args.wpilib is None):
        parser.error("give either the stand-in folder or --wpilib")

    vendordep = json.loads(args.vendordep.read_text())
    # A simulation takes the dependencies for simulation too; the stand-in plays the robot.
    simulating = args.wpilib is not None
    def wanted(dependency):
        return dependency.get("simMode") is None or (simulating and dependency["simMode"] == "swsim")
    cpps = [cpp for cpp in vendordep["cppDependencies"] if wanted(cpp)]
    jnis = [jni for jni in vendordep["jniDependencies"] if wanted(jni)]
    java = vendordep["javaDependencies"][0]
    if any(args.platform not in cpp["binaryPlatforms"] for cpp in cpps) or \
            any(args.platform not in jni["validPlatforms"] for jni in jnis):
        raise SystemExit(f"consume-package: {args.vendordep} has no {args.platform}")

    with tempfile.TemporaryDirectory(prefix="brova-consumer-") as scratch:
        work = pathlib.Path(scratch)
        headers, libraries = work / "headers", work / "libraries"
        libraries.mkdir()
        platform_zips, link = [], []
        for cpp in cpps:
            zipfile.ZipFile(fetch(maven_path(args.repository, cpp, cpp["headerClassifier"],
                                             "zip"))).extractall(headers)
            platform_zip = fetch(maven_path(args.repository, cpp, args.platform, "zip"))
            platform_zips.append(platform_zip)
            for name in zipfile.ZipFile(platform_zip).namelist():
                if name.endswith(".so"):
                    target = libraries / pathlib.Path(name).name
                    target.write_bytes(zipfile.ZipFile(platform_zip).read(name))
            library_name = cpp["libName"]
            if not (libraries / f"lib{library_name}.so").is_file():
                raise SystemExit(f"consume-package: {platform_zip} holds no lib{library_name}.so")
            link.append(f"-l{library_name}")
        # Java loads what the JNI dependencies name: the C++ dependency's library.
        for jni in jnis:
            jni_zip = fetch(maven_path(args.repository, jni, args.platform, "zip"))
            if jni_zip not in platform_zips:
                raise SystemExit(f"consume-package: the JNI dependency {jni_zip} is none of the "
                                 f"C++ dependencies' zips")
        jar = work / "BrovaDriver-java.jar"
        shutil.copy(fetch(maven_path(args.repository, java, None, "jar")), jar)

        if args.wpilib is not None:
            run_over_wpilib(work, headers, libraries, link, jar, args.wpilib.resolve())
            print(f"consume-package: the C++ and Java robot programs ran against "
                  f"{args.platform} over WPILib's simulation HAL in {args.wpilib}")
            return

        environment = dict(os.environ)
        environment["LD_LIBRARY_PATH"] = f"{libraries}:{args.stand_in}"
        environment["BROVA_SIM_CONTROLLERS"] = "quad:5,quad:6,small:7"

        robot = work / "robot"
        run(["c++", "-std=c++20", "-o", robot, PROGRAMS / "Robot.cpp", f"-I{headers}",
             f"-L{libraries}", *link, f"-L{args.stand_in}", "-lwpiHal", "-pthread"])
        run([robot], env=environment)

        classes = work / "classes"
        run(["javac", "-d", classes, "-cp", jar, PROGRAMS / "Robot.java"])
        run(["java", f"-Djava.library.path={libraries}", "-cp", f"{jar}:{classes}", "Robot"],
            env=environment)
    print(f"consume-package: the C++ and Java robot programs ran against {args.platform}")


if __name__ == "__main__":
    try:
        main()
    except subprocess.CalledProcessError as failed:
        sys.exit(f"consume-package: {failed.cmd[0]} failed with exit status {failed.returncode}")
