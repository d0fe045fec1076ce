#!/usr/bin/python3
"""Checks that scripts/check-package.py fails, naming the error, on a package broken on purpose.

Usage: scripts/test-check-package.py REPO JSON...   (the arguments check-package.py takes)

Copies the good repository and its vendordep files to a temporary folder, checks that the
untouched copy passes, then, for each case of the table below, breaks one thing in a fresh
copy and checks that the checker exits 1 with a line naming the broken file and the error.
Needs patchelf (to change a library's DT_NEEDED and RUNPATH entries).
"""

import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

from elftools.elf.elffile import ELFFile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-package.py")
OTHER_UUID = "00000000-1111-4222-8333-444444444444"
# The package's libraries, the driver and the device models for desktop simulation, and the one
# that held the objects before the driver did.
DRIVER = "BrovaDriver"
MODELS = "BrovaDriverSim"
FORMER_OBJECTS = "BrovaDriverObjects"


class Unavailable(Exception):
    """The good package lacks what a case needs (say, no linuxathena zip)."""


class Package:
    """A copy of the good package in `root`: `repo` and the vendordep files beside it."""

    def __init__(self, root, json_names):
        self.repo = os.path.join(root, "maven")
        self.jsons = [os.path.join(root, name) for name in json_names]

    def load(self, index=0):
        with open(self.jsons[index], encoding="utf-8") as stream:
            return json.load(stream)

    def edit_json(self, change, index=0):
        data = self.load(index)
        change(data)
        with open(self.jsons[index], "w", encoding="utf-8") as stream:
            json.dump(data, stream, indent=2)
        return os.path.basename(self.jsons[index])

    def edit_named(self, name, change):
        """edit_json on the vendordep file called `name`."""
        names = [os.path.basename(path) for path in self.jsons]
        if name not in names:
            raise Unavailable(f"no {name} given")
        return self.edit_json(change, names.index(name))

    def cpp_artifact(self, classifier, platform=None, ext="zip", library=DRIVER):
        """Path of the library's cpp artifact in the first vendordep whose cpp dependency of it
        lists `platform`."""
        for index in range(len(self.jsons)):
            for dep in self.load(index)["cppDependencies"]:
                if dep["libName"] == library and \
                        (platform is None or platform in dep["binaryPlatforms"]):
                    name, version = dep["artifactId"], dep["version"]
                    suffix = f"-{classifier}" if classifier else ""
                    return os.path.join(self.repo, *dep["groupId"].split("."), name, version,
                                        f"{name}-{version}{suffix}.{ext}")
        raise Unavailable(f"no cppDependencies entry of {library} lists {platform}")

    def platform_zip(self, platform, debug=False, library=DRIVER):
        return self.cpp_artifact(platform + ("debug" if debug else ""), platform,
                                 library=library)


def read_zip(path):
    with zipfile.ZipFile(path) as archive:
        return {name: archive.read(name) for name in archive.namelist()}


def write_zip(path, members):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in members.items():
            archive.writestr(name, data)


def library_of(members):
    names = [name for name in members if name.endswith(".so")]
    assert len(names) == 1, f"expected one library in the good zip, found {names}"
    return names[0]


def change_library(path, change):
    """Replaces the library in the platform zip at `path` with change(its bytes)."""
    members = read_zip(path)
    library = library_of(members)
    members[library] = change(members[library])
    write_zip(path, members)
    return os.path.basename(path)


# ---- how each case breaks the package; each returns the name of the file it broke ----------

def remove(path):
    os.remove(path)
    return os.path.basename(path)


def remove_arm64_zip(package):
    return remove(package.platform_zip("linuxarm64"))


def x86_64_library_in_arm64_zip(package):
    x86_64 = read_zip(package.platform_zip("linuxx86-64"))
    return change_library(package.platform_zip("linuxarm64"),
                          lambda _: x86_64[library_of(x86_64)])


def patchelf(*arguments):
    """A change of a library's bytes: patchelf with `arguments` run on them."""
    def change(data):
        with tempfile.TemporaryDirectory() as folder:
            library = os.path.join(folder, "lib.so")
            with open(library, "wb") as stream:
                stream.write(data)
            subprocess.run(["patchelf", *arguments, library], check=True)
            with open(library, "rb") as stream:
                return stream.read()
    return change


def in_the_models(change, debug=False):
    """Changes the device models' linuxx86-64 library."""
    return lambda package: change_library(
        package.platform_zip("linuxx86-64", debug, library=MODELS), change)


def export_an_import(data):
    """Turns the first HAL function the library imports into one it defines and exports."""
    elf = ELFFile(io.BytesIO(data))
    dynsym = elf.get_section_by_name(".dynsym")
    text = next(index for index, section in enumerate(elf.iter_sections())
                if section.name == ".text")
    for index, symbol in enumerate(dynsym.iter_symbols()):
        if symbol["st_shndx"] == "SHN_UNDEF" and symbol.name.startswith("HAL"):
            entry = dynsym["sh_offset"] + index * dynsym["sh_entsize"]
            shndx_at = entry + (6 if elf.elfclass == 64 else 14)  # Elf64_Sym, Elf32_Sym
            width = elf.elfclass // 8
            value_at = entry + (8 if elf.elfclass == 64 else 4)
            order = "little" if elf.little_endian else "big"
            data = bytearray(data)
            data[shndx_at:shndx_at + 2] = text.to_bytes(2, order)
            data[value_at:value_at + width] = \
                elf.get_section(text)["sh_addr"].to_bytes(width, order)
            return bytes(data)
    raise AssertionError("the library imports no HAL function")


def dependency_of(library, list_key, change):
    """A change of a vendordep file: change(the library's dependency in `list_key`)."""
    def edit(data):
        change(next(dep for dep in data[list_key] if dep["artifactId"] == f"{library}-cpp"))
    return edit


def models_twice(list_key):
    def edit(data):
        data[list_key] += [dict(dep) for dep in data[list_key]
                           if dep["artifactId"] == f"{MODELS}-cpp"]
    return edit


def without_models(list_key):
    def edit(data):
        data[list_key] = [dep for dep in data[list_key] if dep["artifactId"] != f"{MODELS}-cpp"]
    return edit


def extra_file_in(path, name, data):
    members = read_zip(path)
    members[name] = data
    write_zip(path, members)
    return os.path.basename(path)


def needs_sim_hal(package):
    return change_library(package.platform_zip("linuxx86-64"),
                          patchelf("--add-needed", "libBrovaSimHal.so"))


def debug_library_needs_former_objects(package):
    return change_library(package.platform_zip("linuxx86-64", debug=True),
                          patchelf("--add-needed", f"lib{FORMER_OBJECTS}d.so"))


def run_path_into_a_build(package):
    return change_library(package.platform_zip("linuxx86-64"),
                          patchelf("--set-rpath", "/home/builder/build"))


def rename(old, new):
    """A change of a library's bytes that renames symbols in place, at the same length."""
    def change(data):
        assert old in data and len(old) == len(new), old
        return data.replace(old, new)
    return change


def in_the_library(old, new):
    """Renames `old` to `new` in the linuxx86-64 library."""
    return lambda package: change_library(package.platform_zip("linuxx86-64"), rename(old, new))


def drop_dependency(key):
    return lambda package: package.edit_json(lambda data: data.update({key: []}))


def former_objects_dependency(data):
    # The C++ dependency of the library that held the objects, beside the library's own.
    dep = dict(data["cppDependencies"][0])
    dep.update(artifactId=f"{FORMER_OBJECTS}-cpp", libName=FORMER_OBJECTS)
    data["cppDependencies"].append(dep)


def second_cpp_dependency(data):
    data["cppDependencies"].append(dict(data["cppDependencies"][0]))


def define_frc_symbol(data):
    # Renames one entry point, in place and at the same length, into the frc namespace.
    old, new = b"\0c_closeI2C\0", b"\0_ZN3frc1xE\0"
    assert old in data and len(old) == len(new)
    return data.replace(old, new)


def frc_symbol(package):
    return change_library(package.platform_zip("linuxx86-64"), define_frc_symbol)


def make_hard_float(data):
    flags_at = 0x24  # e_flags in a 32-bit ELF header
    flags = int.from_bytes(data[flags_at:flags_at + 4], "little")
    flags = (flags & ~0x200) | 0x400
    return data[:flags_at] + flags.to_bytes(4, "little") + data[flags_at + 4:]


def hard_float_athena(package):
    return change_library(package.platform_zip("linuxathena"), make_hard_float)


def extra_file_in_zip(package):
    path = package.platform_zip("linuxx86-64")
    members = read_zip(path)
    folder = library_of(members).rsplit("/", 1)[0]
    members[f"{folder}/README.txt"] = b"not a library\n"
    write_zip(path, members)
    return os.path.basename(path)


def source_file_in_headers(package):
    return extra_file_in(package.cpp_artifact("headers"), "brova/Notes.cpp", b"// not a header\n")


def driver_header_in_models_headers(package):
    return extra_file_in(package.cpp_artifact("headers", library=MODELS), "BrovaDriver.h",
                         b"/* the driver's */\n")


def extra_file_in_models_zip(package):
    path = package.platform_zip("linuxx86-64", library=MODELS)
    folder = library_of(read_zip(path)).rsplit("/", 1)[0]
    return extra_file_in(path, f"{folder}/libBrovaModels.so", b"not the models' library\n")


def driver_linking_models(package):
    return change_library(package.platform_zip("linuxx86-64"),
                          patchelf("--add-needed", f"lib{MODELS}.so"))


def remove_pom(package):
    pom = package.cpp_artifact(None, ext="pom")
    os.remove(pom)
    return os.path.basename(pom)


def second_uuid(package):
    if len(package.jsons) < 2:
        raise Unavailable("one vendordep file given")
    return package.edit_json(lambda data: data.update(uuid=OTHER_UUID), index=1)


def first_cpp(change):
    return lambda data: change(data["cppDependencies"][0])


def year(name, key, value):
    """Gives the vendordep file `name` the year key `key` holding `value`, in place of its own."""
    def change(data):
        for known in ("frcYear", "wpilibYear"):
            data.pop(known, None)
        data[key] = value
    return lambda package: package.edit_named(name, change)


ALPHA5 = "BrovaDriver-2027_alpha5.json"
HAL2026 = "BrovaDriver-2026.json"


# name, how to break, the error the checker must name, whether the good package may lack
# what the case needs (then the case is skipped and says so).
CASES = [
    ("missing platform zip", remove_arm64_zip, "missing", False),
    ("x86-64 library in the arm64 zip", x86_64_library_in_arm64_zip,
     "ELF machine is EM_X86_64, not EM_AARCH64", False),
    ("library needs libBrovaSimHal.so", needs_sim_hal, "DT_NEEDED libBrovaSimHal.so", False),
    ("extra JSON key", lambda p: p.edit_json(lambda d: d.update(extraKey="x")),
     "unexpected key 'extraKey'", False),
    ("platform zip with an extra file", extra_file_in_zip, "extra file", False),
    ("missing JSON key", lambda p: p.edit_json(lambda d: d.pop("jsonUrl")),
     "missing key 'jsonUrl'", False),
    ("empty string", lambda p: p.edit_json(lambda d: d.update(name="")),
     "empty string at 'name'", False),
    ("fileName not the file's name", lambda p: p.edit_json(lambda d: d.update(fileName="x.json")),
     "fileName 'x.json' is not the file's name", False),
    ("bool as a string", lambda p: p.edit_json(first_cpp(lambda d: d.update(sharedLibrary="true"))),
     "'sharedLibrary' is a string, not a bool", False),
    ("uuid differs between files", second_uuid, "uuid differs", True),
    ("missing POM", remove_pom, "missing", False),
    ("symbol defined in namespace frc", frc_symbol, "namespace frc", False),
    ("hard-float athena library", hard_float_athena, "hard-float", True),
    ("non-header in the headers zip", source_file_in_headers, "not a header", False),
    ("library left out of the JNI dependencies", drop_dependency("jniDependencies"),
     "'jniDependencies' lacks the BrovaDriver library", False),
    ("the former objects library as a C++ dependency",
     lambda p: p.edit_json(former_objects_dependency),
     "libName 'BrovaDriverObjects' is none of the package's libraries", False),
    ("the library twice among the C++ dependencies", lambda p: p.edit_json(second_cpp_dependency),
     "'cppDependencies' names the BrovaDriver library 2 times", False),
    ("debug library needs the former objects library", debug_library_needs_former_objects,
     "DT_NEEDED libBrovaDriverObjectsd.so", False),
    ("library's run path into a build folder", run_path_into_a_build,
     "RUNPATH is /home/builder/build, not $ORIGIN", False),
    # Every name of class brova::BrovaSmall moves into the driver's internal namespace
    # brova::controller, and into the standard library.
    ("an internal namespace exported", in_the_library(b"5brova10BrovaSmall", b"5brova10controller"),
     "symbols of namespace brova outside the classes the headers mark", False),
    ("the standard library exported",
     in_the_library(b"_ZN5brova10BrovaSmall", b"_ZNSt6vectorIiE10Brov"),
     "symbols of the standard library", False),
    # brova::BrovaSmall's constructors (C1, C2) become other names of the class.
    ("a class of the headers not exported",
     in_the_library(b"5brova10BrovaSmallC", b"5brova10BrovaSmallX"),
     "does not export brova::BrovaSmall", False),
    # A raw native and an object native renamed out of the JNI names: no library implements them.
    ("a raw Java native no library exports",
     in_the_library(b"Java_com_quorvel_frc_jni_FeruxJNI_c_1getVoltage",
                    b"Jbva_com_quorvel_frc_jni_FeruxJNI_c_1getVoltage"),
     "no library exports the native method com.quorvel.frc.jni.FeruxJNI.c_getVoltage", False),
    ("an object's Java native no library exports",
     in_the_library(b"Java_com_quorvel_frc_DeviceNatives_open\0",
                    b"Jbva_com_quorvel_frc_DeviceNatives_open\0"),
     "no library exports the native method com.quorvel.frc.DeviceNatives.open", False),
    ("alpha-5 file with the 2027 release's year string", year(ALPHA5, "wpilibYear", "2027"),
     "wpilibYear '2027' is not the year string of the release line the file is named for", False),
    ("alpha-5 file with a year string no GradleRIO accepts",
     year(ALPHA5, "wpilibYear", "2027_alpha6"),
     "wpilibYear '2027_alpha6' is none of the year strings GradleRIO accepts", False),
    ("2026 file with its year under wpilibYear", year(HAL2026, "wpilibYear", "2026"),
     "GradleRIO 2026.x reads '2026' from frcYear, not wpilibYear", False),
    ("2026 file with a 2027 year string", year(HAL2026, "frcYear", "2027"),
     "is for version year 2027, not the version's year 2026", False),
    ("2026 file without a year key",
     lambda p: p.edit_named(HAL2026, lambda d: d.pop("frcYear")), "missing the year key", False),
    ("jsonUrl of another file",
     lambda p: p.edit_named(ALPHA5, lambda d: d.update(
         jsonUrl=d["jsonUrl"].replace(ALPHA5, "BrovaDriver-2027.json"))),
     "does not end in the file's name", False),
    # The device models: for desktop simulation alone, beside the driver, which loads them.
    ("simMode on the library's own dependency",
     lambda p: p.edit_json(dependency_of(DRIVER, "cppDependencies",
                                         lambda d: d.update(simMode="swsim"))),
     "has simMode 'swsim', but the BrovaDriver library is not for simulation only", False),
    ("the device models with simMode hwsim",
     lambda p: p.edit_json(dependency_of(MODELS, "jniDependencies",
                                         lambda d: d.update(simMode="hwsim"))),
     "simMode 'hwsim' is not one of swsim", False),
    ("the device models without simMode",
     lambda p: p.edit_json(dependency_of(MODELS, "cppDependencies", lambda d: d.pop("simMode"))),
     "lacks 'simMode': \"swsim\"", False),
    ("the device models for the robot controller",
     lambda p: p.edit_named(ALPHA5, dependency_of(
         MODELS, "cppDependencies", lambda d: d["binaryPlatforms"].append("linuxsystemcore"))),
     "'binaryPlatforms' names linuxsystemcore, not a desktop platform", False),
    ("the device models for a platform the library is not listed for",
     lambda p: p.edit_named(HAL2026, dependency_of(
         MODELS, "jniDependencies", lambda d: d["validPlatforms"].append("linuxarm64"))),
     "'jniDependencies' lists the BrovaDriverSim library for linuxarm64, which it does not "
     "list the BrovaDriver library for", False),
    ("the device models twice among the JNI dependencies",
     lambda p: p.edit_json(models_twice("jniDependencies")),
     "'jniDependencies' names the BrovaDriverSim library 2 times", False),
    ("the device models left out of the C++ dependencies",
     lambda p: p.edit_json(without_models("cppDependencies")),
     "'cppDependencies' lacks the BrovaDriverSim library", False),
    ("the device models' zip with an extra file", extra_file_in_models_zip,
     "holds extra file 'linux/x86-64/shared/libBrovaModels.so'", False),
    ("the driver's header in the device models' headers zip", driver_header_in_models_headers,
     "holds 'BrovaDriver.h' (only BrovaDriverSim.h belongs there)", False),
    ("the device models exporting a HAL function", in_the_models(export_an_import),
     "exports 1 symbols besides BrovaDriverSim_attach: HAL", False),
    ("the device models defining a HAL function", in_the_models(export_an_import),
     ".dynsym defines 1 of WPILib's HAL functions", False),
    ("the device models' entry renamed to a C++ name of brovamodels",
     in_the_models(rename(b"BrovaDriverSim_attach\0", b"_ZN11brovamodels2xyEv\0")),
     "does not export BrovaDriverSim_attach", False),
    ("the device models without a run path", in_the_models(patchelf("--remove-rpath")),
     "RUNPATH is absent, not $ORIGIN", False),
    ("the debug device models needing WPILib's debug wpiutil",
     in_the_models(patchelf("--add-needed", "libwpiutild.so"), debug=True),
     "DT_NEEDED libwpiutild.so", False),
    ("the device models not naming WPILib's HAL", in_the_models(patchelf("--remove-needed",
                                                                        "libwpiHal.so")),
     "does not need WPILib's HAL", False),
    ("the library linking the device models", driver_linking_models,
     "DT_NEEDED libBrovaDriverSim.so", False),
]


def run_checker(package):
    return subprocess.run(["/usr/bin/python3", CHECKER, package.repo, *package.jsons],
                          capture_output=True, text=True)


def main(argv):
    if len(argv) < 3:
        print(f"usage: {argv[0]} REPO JSON...", file=sys.stderr)
        return 2
    repo, json_paths = argv[1], argv[2:]
    json_names = [os.path.basename(path) for path in json_paths]
    passed, failed, skipped = 0, 0, 0
    with tempfile.TemporaryDirectory(prefix="check-package-test-") as temp:
        good = os.path.join(temp, "good")
        shutil.copytree(repo, os.path.join(good, "maven"))
        for path in json_paths:
            shutil.copy(path, good)

        result = run_checker(Package(good, json_names))
        if result.returncode == 0 and "OK" in result.stdout:
            passed += 1
            print("ok: the unbroken package passes")
        else:
            failed += 1
            print(f"FAIL: the unbroken package does not pass (exit {result.returncode}):\n"
                  f"{result.stdout}{result.stderr}")

        for index, (name, breaks, error, optional) in enumerate(CASES):
            root = os.path.join(temp, f"case{index}")
            shutil.copytree(good, root)
            package = Package(root, json_names)
            try:
                broken = breaks(package)
            except Unavailable as reason:
                if optional:
                    skipped += 1
                    print(f"skip: {name}: {reason}")
                else:
                    failed += 1
                    print(f"FAIL: {name}: the good package cannot be broken this way: {reason}")
                continue
            result = run_checker(package)
            lines = result.stderr.splitlines()
            if result.returncode == 1 and any(broken in line and error in line for line in lines):
                passed += 1
                print(f"ok: {name}")
            else:
                failed += 1
                print(f"FAIL: {name}: wanted exit 1 and a line naming {broken} and '{error}', "
                      f"got exit {result.returncode}:\n{result.stdout}{result.stderr}")
            shutil.rmtree(root)
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
