#!/usr/bin/python3
"""Plays the robot build tool's part for one platform: reads a vendordep file, finds each
artifact it names in a local Maven repository from the file's coordinates alone, unpacks the
headers and the platform's library into a fresh folder, builds a C++ and a Java robot program
against only those, and runs both on the simulated platform standing in for the robot's HAL
(libwpiHal.so), with a simulated BrovaQuad answering on device 5.

  scripts/consume-package.py VENDORDEP.json REPOSITORY STAND_IN_DIR [--platform linuxx86-64]

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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("vendordep", type=pathlib.Path)
    parser.add_argument("repository", type=pathlib.Path)
    parser.add_argument("stand_in", type=pathlib.Path, help="folder holding libwpiHal.so")
    parser.add_argument("--platform", default="linuxx86-64")
    args = parser.parse_args()

    vendordep = json.loads(args.vendordep.read_text())
    cpp = vendordep["cppDependencies"][0]
    jni = vendordep["jniDependencies"][0]
    java = vendordep["javaDependencies"][0]
    if args.platform not in cpp["binaryPlatforms"] or args.platform not in jni["validPlatforms"]:
        raise SystemExit(f"consume-package: {args.vendordep} has no {args.platform}")

    with tempfile.TemporaryDirectory(prefix="brova-consumer-") as scratch:
        work = pathlib.Path(scratch)
        headers, libraries = work / "headers", work / "libraries"
        zipfile.ZipFile(fetch(maven_path(args.repository, cpp, cpp["headerClassifier"], "zip"))).extractall(headers)
        platform_zip = fetch(maven_path(args.repository, cpp, args.platform, "zip"))
        for name in zipfile.ZipFile(platform_zip).namelist():
            if name.endswith(".so"):
                libraries.mkdir(exist_ok=True)
                target = libraries / pathlib.Path(name).name
                target.write_bytes(zipfile.ZipFile(platform_zip).read(name))
        jni_zip = fetch(maven_path(args.repository, jni, args.platform, "zip"))
        if jni_zip != platform_zip:
            raise SystemExit("consume-package: the JNI and C++ dependencies name different zips")
        jar = work / "BrovaDriver-java.jar"
        shutil.copy(fetch(maven_path(args.repository, java, None, "jar")), jar)
        library_name = cpp["libName"]
        if not (libraries / f"lib{library_name}.so").is_file():
            raise SystemExit(f"consume-package: {platform_zip} holds no lib{library_name}.so")

        environment = dict(os.environ)
        environment["LD_LIBRARY_PATH"] = f"{libraries}:{args.stand_in}"
        environment["BROVA_SIM_CONTROLLERS"] = "quad:5"

        robot = work / "robot"
        run(["c++", "-std=c++20", "-o", robot, PROGRAMS / "Robot.cpp", f"-I{headers}",
             f"-L{libraries}", f"-l{library_name}", f"-L{args.stand_in}", "-lwpiHal", "-pthread"])
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
