#!/usr/bin/python3
"""Checks a BrovaDriver Maven repository and its vendordep JSON files.

Usage: scripts/check-package.py REPO JSON...

REPO is the folder that holds com/quorvel/frc/...; each JSON is a vendordep file that names
artifacts in it. Every problem found is printed as one line on standard error, naming the file
and what is wrong; the exit status is 1 when there is any, 0 (with a short summary on standard
output) when there is none. A file whose year string no GradleRIO release has been checked to
accept yet gets a note on standard output, which is not an error.
"""

import io
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

from elftools.common.exceptions import ELFError
from elftools.elf.dynamic import DynamicSection
from elftools.elf.elffile import ELFFile
from elftools.elf.sections import SymbolTableSection

GROUP = "com.quorvel.frc"
# The package's libraries, each in the artifact <name>-cpp. The driver: the C entry points, the
# raw JNI classes' natives, the C++ objects' classes and the Java objects' natives; a program
# links, and Java loads, that library. The device models, for desktop simulation only: the driver
# loads them from beside itself when it runs on WPILib's simulation HAL, and calls their one entry
# point; a vendordep names them with "simMode": "swsim" (GradleRIO takes them for desktop
# simulation alone), for desktop platforms, beside the driver.
DRIVER = "BrovaDriver"
MODELS = "BrovaDriverSim"
LIBRARIES = (DRIVER, MODELS)
MODELS_ENTRY = "BrovaDriverSim_attach"
# Mangled names of the models' own namespaces (brovamodels, brovawpilib).
MODELS_OWN_SYMBOL = re.compile(r"^_Z\w*?N?\d+brova(?:models|wpilib)")
MODELS_HEADER = "BrovaDriverSim.h"
# Library -> the simMode its dependencies carry (None: no simMode). "swsim" is the one accepted.
SIM_MODES = {DRIVER: None, MODELS: "swsim"}
SIM_MODE_VALUES = ("swsim",)
C_ENTRY_POINTS = 53
JNI_NATIVES = 52
# The natives of com.quorvel.frc.jni's raw classes, and of every class of the package's own.
JNI_PREFIX = "Java_com_quorvel_frc_jni_"
PACKAGE_JNI_PREFIX = "Java_com_quorvel_frc_"
ANY_JNI_PREFIX = "Java_"
# A mangled name's start up to its outermost nested name: the special names (vtable, typeinfo, its
# name, a function's static variable and its guard) and a member function's qualifiers.
MANGLED_START = r"^_Z(?:T[VIS]|GVZ?|Z)?N?[KVRHO]*"
BROVA_SYMBOL = re.compile(MANGLED_START + "5brova")
STANDARD_SYMBOL = re.compile(MANGLED_START + r"(?:St|9__gnu_cxx)|^_ZSt")
ACC_NATIVE = 0x0100

# Platform classifier -> (folder inside its zip, ELF machine).
PLATFORMS = {
    "linuxx86-64": ("linux/x86-64/shared", "EM_X86_64"),
    "linuxarm64": ("linux/arm64/shared", "EM_AARCH64"),
    "linuxsystemcore": ("linux/systemcore/shared", "EM_AARCH64"),
    "linuxathena": ("linux/athena/shared", "EM_ARM"),
}
SOFT_PLATFORM = "linuxathena"
# The platforms a desktop simulation runs on; never a robot controller's.
DESKTOP_PLATFORMS = ("linuxx86-64", "linuxarm64")
EF_ARM_ABI_FLOAT_SOFT = 0x200
EF_ARM_ABI_FLOAT_HARD = 0x400

# Library -> the WPILib libraries it may need. WPILib's debug builds carry a "d" before ".so"; a
# debug library may link those instead. The device models need the HAL alone, whose simulation
# callbacks they attach to.
WPILIB_NEEDED = {DRIVER: {"libwpiHal.so", "libwpiutil.so"}, MODELS: {"libwpiHal.so"}}
WPILIB_DEBUG_NEEDED = {DRIVER: {"libwpiHald.so", "libwpiutild.so"}, MODELS: {"libwpiHald.so"}}
SYSTEM_NEEDED = re.compile(
    r"^(?:lib(?:c|m|stdc\+\+|gcc_s|pthread|dl|atomic)\.so|ld-linux[^/]*\.so)\.[0-9][0-9.]*$")
FRC_SYMBOL = re.compile(r"^_Z(?:T[VIST]|GV|TH|TW)?N[KVRHO]*3frc")
# WPILib's HAL and simulation functions, which the device models take from libwpiHal.so.
HAL_SYMBOL = re.compile(r"^HAL(?:SIM)?_")
UUID = re.compile(r"^[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$")

# The year strings a vendordep file may carry, one per WPILib release line: the key it is read
# from, the GradleRIO releases that accept it, where that is decided, whether a GradleRIO release
# has been checked to accept it, and the version year of the artifacts the file names. GradleRIO's
# native-utils compares the file's string with its own, character for character, and fails the
# build on any other (InvalidVendorDepYearException). A file is named after its string:
# BrovaDriver-<string>.json.
YEARS = {
    "2026": {"key": "frcYear", "gradlerio": "GradleRIO 2026.x",
             "source": "GradleRIO 2026's native-utils compares frcYear with \"2026\"",
             "verified": True, "version_year": 2026},
    "2027_alpha5": {"key": "wpilibYear",
                    "gradlerio": "GradleRIO 2027.0.0-alpha-5, 2027.0.0-alpha-6 and its "
                                 "development branch",
                    "source": "their native-utils compares wpilibYear with \"2027_alpha5\"",
                    "verified": True, "version_year": 2027},
    "2027": {"key": "wpilibYear", "gradlerio": "the 2027 GradleRIO release",
             "source": "expected of its native-utils; that release is not out",
             "verified": False, "version_year": 2027},
}
YEAR_KEYS = sorted({line["key"] for line in YEARS.values()})
FILE_NAME = re.compile(r"^BrovaDriver-(.+)\.json$")

COMMON_KEYS = {"groupId", "artifactId", "version"}
JAVA_KEYS = COMMON_KEYS
JNI_KEYS = COMMON_KEYS | {"isJar", "validPlatforms", "skipInvalidPlatforms"}
CPP_KEYS = COMMON_KEYS | {"libName", "headerClassifier", "sourcesClassifier", "sharedLibrary",
                          "skipInvalidPlatforms", "binaryPlatforms"}
# Keys whose value is fixed: key -> value.
JNI_FIXED = {"isJar": False, "skipInvalidPlatforms": True}
CPP_FIXED = {"headerClassifier": "headers", "sourcesClassifier": "sources", "sharedLibrary": True,
             "skipInvalidPlatforms": True}


class Report:
    def __init__(self):
        self.errors = []
        self.notes = []

    def error(self, where, what):
        self.errors.append(f"{where}: {what}")

    def note(self, where, what):
        self.notes.append(f"{where}: {what}")


def type_name(value):
    return {bool: "bool", int: "number", float: "number", str: "string", list: "list",
            dict: "object", type(None): "null"}.get(type(value), type(value).__name__)


# ---- vendordep JSON -------------------------------------------------------------------------

def find_empty_strings(value, path, found):
    if isinstance(value, str):
        if value.strip() == "":
            found.append(path)
    elif isinstance(value, list):
        for index, item in enumerate(value):
            find_empty_strings(item, f"{path}[{index}]", found)
    elif isinstance(value, dict):
        for key, item in value.items():
            find_empty_strings(item, f"{path}.{key}" if path else key, found)


def check_keys(report, where, obj, expected):
    for key in sorted(expected - obj.keys()):
        report.error(where, f"missing key '{key}'")
    for key in sorted(obj.keys() - expected):
        report.error(where, f"unexpected key '{key}'")


def check_type(report, where, obj, key, wanted):
    """True when obj[key] exists and is of type `wanted` (bool is not a number here)."""
    if key not in obj:
        return False
    value = obj[key]
    if type(value) is not wanted:
        report.error(where, f"'{key}' is a {type_name(value)}, not a {type_name(wanted())}")
        return False
    return True


def check_string_list(report, where, obj, key):
    """The list of strings at obj[key] when it is a non-empty one, else None."""
    if not check_type(report, where, obj, key, list):
        return None
    values = obj[key]
    if not values:
        report.error(where, f"'{key}' is an empty list")
        return None
    if any(type(item) is not str for item in values):
        report.error(where, f"'{key}' holds something other than strings")
        return None
    return values


def check_dependency(report, where, dep, keys, fixed, version):
    check_keys(report, where, dep, keys)
    for key in sorted(COMMON_KEYS):
        check_type(report, where, dep, key, str)
    if dep.get("groupId") not in (None, GROUP) and type(dep.get("groupId")) is str:
        report.error(where, f"groupId is '{dep['groupId']}', not '{GROUP}'")
    if type(dep.get("version")) is str and type(version) is str and dep["version"] != version:
        report.error(where, f"version '{dep['version']}' is not the file's version '{version}'")
    for key, value in fixed.items():
        if check_type(report, where, dep, key, type(value)) and dep[key] != value:
            report.error(where, f"'{key}' is {json.dumps(dep[key])}, not {json.dumps(value)}")


def check_vendordep(report, path):
    """Checks one vendordep file; returns its parsed object (or None) for the artifact checks."""
    try:
        with open(path, encoding="utf-8") as stream:
            data = json.load(stream)
    except (OSError, ValueError) as problem:
        report.error(path, f"cannot be read as JSON ({problem})")
        return None
    if not isinstance(data, dict):
        report.error(path, f"holds a {type_name(data)}, not an object")
        return None

    version = data.get("version")
    version_year = None
    if type(version) is str:
        match = re.match(r"^(\d{4})\.", version)
        if match:
            version_year = int(match.group(1))
        else:
            report.error(path, f"version '{version}' does not start with a year")
    year_keys = [key for key in YEAR_KEYS if key in data]
    keys = {"fileName", "name", "version", "uuid", "mavenUrls", "jsonUrl",
            "javaDependencies", "jniDependencies", "cppDependencies", *year_keys}
    check_keys(report, path, data, keys)
    if not year_keys:
        report.error(path, f"missing the year key ({' or '.join(YEAR_KEYS)})")
    elif len(year_keys) > 1:
        report.error(path, f"carries more than one year key ({', '.join(year_keys)})")
    else:
        check_year(report, path, data, year_keys[0], version_year)

    empty = []
    find_empty_strings(data, "", empty)
    for where in empty:
        report.error(path, f"empty string at '{where}'")

    for key in ("fileName", "name", "version", "uuid", "jsonUrl"):
        check_type(report, path, data, key, str)
    if type(data.get("fileName")) is str and data["fileName"] != os.path.basename(path):
        report.error(path, f"fileName '{data['fileName']}' is not the file's name "
                           f"'{os.path.basename(path)}'")
    if type(data.get("uuid")) is str and not UUID.match(data["uuid"]):
        report.error(path, f"uuid '{data['uuid']}' is not a UUID")
    check_string_list(report, path, data, "mavenUrls")
    if type(data.get("jsonUrl")) is str and \
            not data["jsonUrl"].endswith("/" + os.path.basename(path)):
        report.error(path, f"jsonUrl '{data['jsonUrl']}' does not end in the file's name "
                           f"'{os.path.basename(path)}'")

    lists = (("javaDependencies", JAVA_KEYS, {}), ("jniDependencies", JNI_KEYS, JNI_FIXED),
             ("cppDependencies", CPP_KEYS, CPP_FIXED))
    platforms_of = {}  # (list key, library) -> the platforms its dependencies there list
    for list_key, dep_keys, fixed in lists:
        if not check_type(report, path, data, list_key, list):
            continue
        if not data[list_key]:
            report.error(path, f"'{list_key}' is an empty list")
        platforms_key = {"jniDependencies": "validPlatforms",
                         "cppDependencies": "binaryPlatforms"}.get(list_key)
        for index, dep in enumerate(data[list_key]):
            where = f"{path} {list_key}[{index}]"
            if not isinstance(dep, dict):
                report.error(where, f"is a {type_name(dep)}, not an object")
                continue
            library = library_of_artifact(dep)
            # simMode is a key of the native dependencies alone, and optional there.
            keys = dep_keys | ({"simMode"} if platforms_key and "simMode" in dep else set())
            check_dependency(report, where, dep, keys, fixed, version)
            if platforms_key:
                check_sim_mode(report, where, dep, library)
                platforms = check_string_list(report, where, dep, platforms_key) or []
                platforms_of.setdefault((list_key, library), []).extend(platforms)
                for platform in platforms:
                    if platform not in PLATFORMS:
                        report.error(where, f"'{platforms_key}' names unknown platform "
                                            f"'{platform}'")
                    elif library == MODELS and platform not in DESKTOP_PLATFORMS:
                        report.error(where, f"'{platforms_key}' names {platform}, not a desktop "
                                            f"platform ({', '.join(DESKTOP_PLATFORMS)}): the "
                                            f"{MODELS} library is for desktop simulation only")
            if list_key == "cppDependencies" and check_type(report, where, dep, "libName", str):
                if dep["libName"] not in LIBRARIES:
                    report.error(where, f"libName '{dep['libName']}' is none of the package's "
                                        f"libraries ({', '.join(LIBRARIES)})")
                elif dep.get("artifactId") != f"{dep['libName']}-cpp":
                    report.error(where, f"artifactId '{dep.get('artifactId')}' is not "
                                        f"'{dep['libName']}-cpp', libName's artifact")
            if list_key == "jniDependencies" and library_of_artifact(dep) is None:
                report.error(where, f"artifactId '{dep.get('artifactId')}' is none of the "
                                    f"package's libraries' artifacts")

    # A C++ program links, and Java loads, each of the package's libraries, once.
    for list_key, names_of in (("cppDependencies", lambda dep: dep.get("libName")),
                               ("jniDependencies", library_of_artifact)):
        if isinstance(data.get(list_key), list):
            named = [names_of(dep) for dep in data[list_key] if isinstance(dep, dict)]
            for library in LIBRARIES:
                if library not in named:
                    report.error(path, f"'{list_key}' lacks the {library} library "
                                       f"({library}-cpp)")
                elif named.count(library) > 1:
                    report.error(path, f"'{list_key}' names the {library} library "
                                       f"{named.count(library)} times")
        # The device models run beside the driver: on no platform it is not listed for.
        driver_platforms = platforms_of.get((list_key, DRIVER), [])
        alone = [platform for platform in platforms_of.get((list_key, MODELS), [])
                 if platform not in driver_platforms]
        if driver_platforms and alone:
            report.error(path, f"'{list_key}' lists the {MODELS} library for "
                               f"{', '.join(alone)}, which it does not list the {DRIVER} library "
                               f"for")
    return data


def check_sim_mode(report, where, dep, library):
    """simMode: the one the library's dependencies carry (SIM_MODES), an accepted value, or none."""
    wanted = SIM_MODES.get(library)
    if "simMode" not in dep:
        if wanted is not None:
            report.error(where, f"lacks 'simMode': \"{wanted}\" (the {library} library is for "
                                f"desktop simulation only)")
        return
    if not check_type(report, where, dep, "simMode", str):
        return
    if dep["simMode"] not in SIM_MODE_VALUES:
        report.error(where, f"simMode '{dep['simMode']}' is not one of "
                            f"{', '.join(SIM_MODE_VALUES)}")
    elif library is not None and wanted is None:
        report.error(where, f"has simMode '{dep['simMode']}', but the {library} library is not "
                            f"for simulation only")


def check_year(report, path, data, key, version_year):
    """The file's year string: one of YEARS, under its key, for the version's year and the release
    line the file's name says."""
    if not check_type(report, path, data, key, str):
        return
    year = data[key]
    line = YEARS.get(year)
    if line is None:
        accepted = ", ".join(f"{YEARS[known]['key']} '{known}'" for known in YEARS)
        report.error(path, f"{key} '{year}' is none of the year strings GradleRIO accepts "
                           f"(accepted: {accepted})")
        return
    if key != line["key"]:
        report.error(path, f"{key} '{year}': {line['gradlerio']} reads '{year}' from "
                           f"{line['key']}, not {key}")
    if version_year is not None and version_year != line["version_year"]:
        report.error(path, f"{key} '{year}' is for version year {line['version_year']}, not the "
                           f"version's year {version_year}")
    named = FILE_NAME.match(os.path.basename(path))
    if named is None:
        report.error(path, "the file's name is not BrovaDriver-<year string>.json")
    elif named.group(1) != year:
        report.error(path, f"{key} '{year}' is not the year string of the release line the file "
                           f"is named for ('{named.group(1)}'); '{year}' belongs in "
                           f"BrovaDriver-{year}.json")
    if not line["verified"]:
        report.note(path, f"{key} '{year}' ({line['gradlerio']}) is not yet verified against a "
                          f"GradleRIO release")


def library_of_artifact(dep):
    """The library whose artifact the dependency names, or None."""
    artifact = dep.get("artifactId") if isinstance(dep, dict) else None
    for library in LIBRARIES:
        if artifact == f"{library}-cpp":
            return library
    return None


# ---- Maven artifacts ------------------------------------------------------------------------

class Artifact:
    def __init__(self, repo, dep):
        self.group, self.name, self.version = dep["groupId"], dep["artifactId"], dep["version"]
        self.folder = os.path.join(repo, *self.group.split("."), self.name, self.version)

    def path(self, classifier=None, ext="zip"):
        suffix = f"-{classifier}" if classifier else ""
        return os.path.join(self.folder, f"{self.name}-{self.version}{suffix}.{ext}")


def usable(dep, *keys):
    """True when the dependency has string values for the keys the artifact paths need."""
    return isinstance(dep, dict) and all(type(dep.get(key)) is str and dep[key]
                                         for key in COMMON_KEYS | set(keys))


def open_zip(report, path):
    """The zip at `path`, or None after naming what is wrong."""
    if not os.path.isfile(path):
        report.error(path, "missing")
        return None
    try:
        archive = zipfile.ZipFile(path)
        broken = archive.testzip()
    except (OSError, zipfile.BadZipFile) as problem:
        report.error(path, f"is not a readable zip ({problem})")
        return None
    if broken is not None:
        report.error(path, f"member '{broken}' is damaged")
        return None
    return archive


def files_of(archive):
    return [name for name in archive.namelist() if not name.endswith("/")]


def check_pom(report, artifact, checked):
    path = artifact.path(ext="pom")
    if path in checked:
        return
    checked.add(path)
    if not os.path.isfile(path):
        report.error(path, "missing")
        return
    try:
        root = ElementTree.parse(path).getroot()
    except ElementTree.ParseError as problem:
        report.error(path, f"is not XML ({problem})")
        return
    namespace = root.tag[:root.tag.index("}") + 1] if root.tag.startswith("{") else ""
    if root.tag != f"{namespace}project":
        report.error(path, f"root element is <{root.tag}>, not <project>")
    for key, wanted in (("groupId", artifact.group), ("artifactId", artifact.name),
                        ("version", artifact.version)):
        found = root.findtext(f"{namespace}{key}")
        if found is None or found.strip() != wanted:
            report.error(path, f"<{key}> is {found.strip() if found else 'absent'}, not {wanted}")


def check_jar(report, path, member_ext):
    archive = open_zip(report, path)
    if archive and not any(name.endswith(member_ext) for name in files_of(archive)):
        report.error(path, f"holds no {member_ext} file")
    return archive


def without_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    return re.sub(r"^\s*#[^\n]*", " ", text, flags=re.M)


def header_entry_points(text):
    """The c_ names that BROVA_API declares in BrovaDriver.h."""
    return re.findall(r"\bBROVA_API\b[^;{(]*?\b(c_\w+)\s*\(", without_comments(text))


def header_object_classes(text):
    """The classes a header marks BROVA_OBJECTS_API: qualified name -> mangled nested name
    (brova::BrovaQuad -> 5brova9BrovaQuad)."""
    classes = {}
    namespace = []
    for match in re.finditer(r"\bnamespace\s+([\w:]+)\s*\{|\bclass\s+BROVA_OBJECTS_API\s+(\w+)",
                             without_comments(text)):
        if match.group(1):
            namespace = match.group(1).split("::")
        else:
            parts = namespace + [match.group(2)]
            classes["::".join(parts)] = "".join(f"{len(part)}{part}" for part in parts)
    return classes


class Headers:
    """What a headers zip declares: the C entry points (None when BrovaDriver.h is missing) and
    the C++ classes the library exports."""

    def __init__(self, entry_points, classes):
        self.entry_points = entry_points
        self.classes = classes


def check_models_headers(report, path, archive):
    """The device models' headers zip: BrovaDriverSim.h alone, declaring their entry point."""
    names = files_of(archive)
    for name in names:
        if name != MODELS_HEADER:
            report.error(path, f"holds '{name}' (only {MODELS_HEADER} belongs there)")
    if MODELS_HEADER not in names:
        report.error(path, f"lacks {MODELS_HEADER} at its root")
    elif not re.search(rf"\b{MODELS_ENTRY}\s*\(",
                       without_comments(archive.read(MODELS_HEADER).decode("utf-8", "replace"))):
        report.error(f"{path}!{MODELS_HEADER}", f"does not declare {MODELS_ENTRY}")


def check_headers(report, path, library):
    """Checks the library's headers zip; returns the driver's Headers, or None when it cannot be
    read or is the device models'."""
    archive = open_zip(report, path)
    if archive is None:
        return None
    if library == MODELS:
        check_models_headers(report, path, archive)
        return None
    names = files_of(archive)
    for name in names:
        if not name.endswith((".h", ".hpp")):
            report.error(path, f"holds '{name}', which is not a header")
        elif name not in ("BrovaDriver.h", "BrovaDriver.hpp") and not name.startswith("brova/"):
            report.error(path, f"holds '{name}', outside BrovaDriver.h, BrovaDriver.hpp, brova/")
    for wanted in ("BrovaDriver.h", "BrovaDriver.hpp"):
        if wanted not in names:
            report.error(path, f"lacks {wanted} at its root")
    classes = {}
    for name in names:
        if name.endswith((".h", ".hpp")):
            classes.update(header_object_classes(archive.read(name).decode("utf-8", "replace")))
    if not classes:
        report.error(path, "marks no class BROVA_OBJECTS_API (the library's C++ classes)")
    if "BrovaDriver.h" not in names:
        return Headers(None, classes)
    declared = header_entry_points(archive.read("BrovaDriver.h").decode("utf-8", "replace"))
    where = f"{path}!BrovaDriver.h"
    if len(declared) != len(set(declared)):
        report.error(where, "declares an entry point twice")
    if len(set(declared)) != C_ENTRY_POINTS:
        report.error(where, f"declares {len(set(declared))} BROVA_API entry points, "
                            f"not {C_ENTRY_POINTS}")
    return Headers(set(declared), classes)


# ---- the Java classes' native methods -------------------------------------------------------

# Constant pool tag -> size of its entry after the tag (Utf8 entries carry their own length).
CONSTANT_SIZES = {3: 4, 4: 4, 5: 8, 6: 8, 7: 2, 8: 2, 9: 4, 10: 4, 11: 4, 12: 4, 15: 3, 16: 2,
                  17: 4, 18: 4, 19: 2, 20: 2}


def class_natives(data):
    """(class name, method name, descriptor) of each native method of a class file."""
    def u2(at):
        return int.from_bytes(data[at:at + 2], "big")

    if data[:4] != b"\xca\xfe\xba\xbe":
        raise ValueError("not a class file")
    utf8, classes = {}, {}
    count, at, index = u2(8), 10, 1
    while index < count:
        tag = data[at]
        if tag == 1:
            length = u2(at + 1)
            utf8[index] = data[at + 3:at + 3 + length].decode("utf-8", "replace")
            at += 3 + length
        elif tag in CONSTANT_SIZES:
            if tag == 7:
                classes[index] = u2(at + 1)
            at += 1 + CONSTANT_SIZES[tag]
        else:
            raise ValueError(f"unknown constant pool tag {tag}")
        index += 2 if tag in (5, 6) else 1
    this_class = utf8[classes[u2(at + 2)]]
    at += 6
    at += 2 + 2 * u2(at)  # interfaces

    def members(at, keep):
        found = []
        count, at = u2(at), at + 2
        for _ in range(count):
            flags, name, descriptor = u2(at), u2(at + 2), u2(at + 4)
            attributes, at = u2(at + 6), at + 8
            for _ in range(attributes):
                at += 6 + int.from_bytes(data[at + 2:at + 6], "big")
            if keep and flags & ACC_NATIVE:
                found.append((this_class, utf8[name], utf8[descriptor]))
        return found, at

    _, at = members(at, False)  # fields
    natives, _ = members(at, True)
    return natives


def jni_mangle(text):
    out = []
    for char in text:
        if char == "/":
            out.append("_")
        elif char == "_":
            out.append("_1")
        elif char == ";":
            out.append("_2")
        elif char == "[":
            out.append("_3")
        elif char.isascii() and char.isalnum():
            out.append(char)
        else:
            out.append(f"_0{ord(char):04x}")
    return "".join(out)


def jni_names(natives):
    """Native method -> the names the JVM looks its implementation up by: the short name, and
    the long one with the argument types (what an overloaded native is exported as)."""
    names = {}
    for cls, method, descriptor in natives:
        short = f"Java_{jni_mangle(cls)}_{jni_mangle(method)}"
        arguments = descriptor[1:descriptor.index(")")]
        names[f"{cls.replace('/', '.')}.{method}{descriptor}"] = \
            {short, f"{short}__{jni_mangle(arguments)}"}
    return names


def jar_natives(report, path, archive):
    """The native methods of the jar's classes (see jni_names), or None if one is unreadable."""
    natives = []
    for name in files_of(archive):
        if name.endswith(".class"):
            try:
                natives += class_natives(archive.read(name))
            except (ValueError, KeyError, IndexError) as problem:
                report.error(f"{path}!{name}", f"cannot be read as a class file ({problem})")
                return None
    return jni_names(natives)


# ---- platform libraries ---------------------------------------------------------------------

def name_list(names, most=8):
    names = sorted(names)
    shown = ", ".join(names[:most])
    return shown + (f" and {len(names) - most} more" if len(names) > most else "")


def exported_names(elf):
    """Names of the defined, visible global or weak symbols of the dynamic symbol table."""
    dynsym = elf.get_section_by_name(".dynsym")
    if not isinstance(dynsym, SymbolTableSection):
        return set()
    versions = set()
    verdef = elf.get_section_by_name(".gnu.version_d")
    if verdef is not None:
        for definition, aux in verdef.iter_versions():
            versions.update(entry.name for entry in aux)
    names = set()
    for symbol in dynsym.iter_symbols():
        if symbol["st_shndx"] == "SHN_UNDEF" or not symbol.name:
            continue
        if symbol["st_info"]["bind"] not in ("STB_GLOBAL", "STB_WEAK", "STB_GNU_UNIQUE"):
            continue
        if symbol["st_other"]["visibility"] in ("STV_HIDDEN", "STV_INTERNAL"):
            continue
        if symbol["st_shndx"] == "SHN_ABS" and symbol.name in versions:
            continue  # a version node's own name, not an entry point
        names.add(symbol.name)
    return names


def library_file(library, debug):
    return f"lib{library}{'d' if debug else ''}.so"


def check_exports(report, where, exported, headers):
    """Exactly the c_ entry points of BrovaDriver.h, the raw classes' natives, the natives of the
    package's own classes, and the names of the classes the headers mark BROVA_OBJECTS_API (each at
    least its constructor); nothing else, least of all another name of namespace brova or one of
    the standard library.
    That each JNI name belongs to a native method of the jar is check_natives' question."""
    c_names = {name for name in exported if name.startswith("c_")}
    jni = {name for name in exported if name.startswith(PACKAGE_JNI_PREFIX)}
    raw = {name for name in jni if name.startswith(JNI_PREFIX)}
    classes = headers.classes if headers else {}
    of_class = re.compile(MANGLED_START + f"(?:{'|'.join(classes.values())})") if classes else None
    api = {name for name in exported if of_class and of_class.match(name)}
    rest = exported - c_names - jni - api
    brova = {name for name in rest if BROVA_SYMBOL.match(name)}
    standard = {name for name in rest if STANDARD_SYMBOL.match(name)}
    others = rest - brova - standard
    if brova:
        report.error(where, f"exports {len(brova)} symbols of namespace brova outside the classes "
                            f"the headers mark BROVA_OBJECTS_API: {name_list(brova)}")
    if standard:
        report.error(where, f"exports {len(standard)} symbols of the standard library: "
                            f"{name_list(standard)}")
    if others:
        report.error(where, f"exports {len(others)} symbols that are not entry points: "
                            f"{name_list(others)}")
    if len(c_names) != C_ENTRY_POINTS:
        report.error(where, f"exports {len(c_names)} c_ entry points, not {C_ENTRY_POINTS}")
    entry_points = headers.entry_points if headers else None
    if entry_points is not None:
        if entry_points - c_names:
            report.error(where, f"does not export what BrovaDriver.h declares: "
                                f"{name_list(entry_points - c_names)}")
        if c_names - entry_points:
            report.error(where, f"exports c_ names BrovaDriver.h does not declare: "
                                f"{name_list(c_names - entry_points)}")
    if len(raw) != JNI_NATIVES:
        report.error(where, f"exports {len(raw)} JNI natives ({JNI_PREFIX}...), "
                            f"not {JNI_NATIVES}")
    for qualified, nested in sorted(classes.items()):
        constructor = re.compile(rf"^_ZN{nested}C[12]E")
        if not any(constructor.match(name) for name in api):
            report.error(where, f"does not export {qualified}, which the headers mark "
                                f"BROVA_OBJECTS_API (no constructor _ZN{nested}C1E...)")


def check_models_undefined(report, where, elf):
    """The device models hold their own code: what they leave to other libraries at load is
    WPILib's HAL and the system's, never a model of theirs (a copy in another library, a HAL
    stand-in built with the models, is not there where a team runs)."""
    dynsym = elf.get_section_by_name(".dynsym")
    if not isinstance(dynsym, SymbolTableSection):
        return
    own = {symbol.name for symbol in dynsym.iter_symbols()
           if symbol["st_shndx"] == "SHN_UNDEF" and MODELS_OWN_SYMBOL.match(symbol.name)}
    if own:
        report.error(where, f"leaves {len(own)} of its own symbols to another library: "
                            f"{name_list(own)}")


def check_models_exports(report, where, elf, exported):
    """The device models export their entry point, a C function, and nothing else."""
    if MODELS_ENTRY not in exported:
        report.error(where, f"does not export {MODELS_ENTRY}")
    else:
        symbol = elf.get_section_by_name(".dynsym").get_symbol_by_name(MODELS_ENTRY)[0]
        if symbol["st_info"]["type"] != "STT_FUNC":
            report.error(where, f"{MODELS_ENTRY} is {symbol['st_info']['type']}, not a function "
                                f"(STT_FUNC)")
    others = exported - {MODELS_ENTRY}
    if others:
        report.error(where, f"exports {len(others)} symbols besides {MODELS_ENTRY}: "
                            f"{name_list(others)}")


def check_library(report, where, data, platform, debug, library, headers):
    """Checks one library of a platform zip; returns the names it exports, or None."""
    folder, machine = PLATFORMS[platform]
    try:
        elf = ELFFile(io.BytesIO(data))
        header = elf.header
    except ELFError as problem:
        report.error(where, f"is not an ELF file ({problem})")
        return None
    if header["e_type"] != "ET_DYN":
        report.error(where, f"is {header['e_type']}, not a shared library (ET_DYN)")
    if header["e_machine"] != machine:
        report.error(where, f"ELF machine is {header['e_machine']}, not {machine} for {platform}")
    elif machine == "EM_ARM":
        flags = header["e_flags"]
        if flags & EF_ARM_ABI_FLOAT_HARD:
            report.error(where, f"is hard-float (e_flags {flags:#x} has 0x400), not soft-float")
        if not flags & EF_ARM_ABI_FLOAT_SOFT:
            report.error(where, f"lacks the soft-float flag 0x200 in e_flags {flags:#x}")

    # It may need WPILib's and the system's libraries, and finds WPILib's beside itself.
    allowed = WPILIB_NEEDED[library] | (WPILIB_DEBUG_NEEDED[library] if debug else set())
    runpath = []
    needed = set()
    for section in elf.iter_sections():
        if isinstance(section, DynamicSection):
            for tag in section.iter_tags("DT_NEEDED"):
                needed.add(tag.needed)
                if tag.needed not in allowed and not SYSTEM_NEEDED.match(tag.needed):
                    report.error(where, f"DT_NEEDED {tag.needed} is neither the system's nor "
                                        f"one of WPILib's {', '.join(sorted(allowed))}")
            runpath += [tag.runpath for tag in section.iter_tags("DT_RUNPATH")]
            for tag in section.iter_tags("DT_RPATH"):
                report.error(where, f"has DT_RPATH {tag.rpath}, not RUNPATH $ORIGIN")
    if runpath != ["$ORIGIN"]:
        report.error(where, f"RUNPATH is {':'.join(runpath) or 'absent'}, not $ORIGIN")
    # The models take WPILib's simulation functions from the HAL, which they must name: loaded
    # by a program that has not made the HAL's symbols global (Java), they find them nowhere else.
    if library == MODELS and not needed & (WPILIB_NEEDED[library] | WPILIB_DEBUG_NEEDED[library]):
        report.error(where, f"does not need WPILib's HAL ({', '.join(sorted(allowed))}), "
                            f"whose simulation functions it calls")

    for table in (".dynsym", ".symtab"):
        section = elf.get_section_by_name(table)
        if not isinstance(section, SymbolTableSection):
            continue
        defined = {symbol.name for symbol in section.iter_symbols()
                   if symbol["st_shndx"] != "SHN_UNDEF"}
        frc = {name for name in defined if FRC_SYMBOL.match(name)}
        if frc:
            report.error(where, f"{table} defines {len(frc)} symbols in namespace frc: "
                                f"{name_list(frc)}")
        hal = {name for name in defined if HAL_SYMBOL.match(name)}
        if library == MODELS and hal:
            report.error(where, f"{table} defines {len(hal)} of WPILib's HAL functions, which "
                                f"libwpiHal.so provides: {name_list(hal)}")

    exported = exported_names(elf)
    if library == MODELS:
        check_models_exports(report, where, elf, exported)
        check_models_undefined(report, where, elf)
    else:
        check_exports(report, where, exported, headers)
    return exported


def check_platform_zip(report, path, platform, debug, library, headers):
    """Checks a platform zip; returns the names its library exports, or None."""
    archive = open_zip(report, path)
    if archive is None:
        return None
    folder = PLATFORMS[platform][0]
    member = f"{folder}/{library_file(library, debug)}"
    names = files_of(archive)
    for name in names:
        if name != member:
            report.error(path, f"holds extra file '{name}' (only {member} belongs there)")
    if member not in names:
        report.error(path, f"lacks {member}")
        return None
    return check_library(report, f"{path}!{member}", archive.read(member), platform, debug,
                         library, headers)


def check_natives(report, where, natives, exports):
    """Each native method of the jar is exported by exactly one library of a platform and build
    type; each JNI name a library exports belongs to a native method. `exports`: zip path ->
    the names its library exports."""
    for method, names in sorted(natives.items()):
        found = [path for path, exported in exports.items() if names & exported]
        if not found:
            report.error(where, f"no library exports the native method {method} "
                                f"({min(names, key=len)}): {', '.join(sorted(exports))}")
        elif len(found) > 1:
            report.error(where, f"native method {method} is exported by more than one library: "
                                f"{', '.join(found)}")
    known = set().union(*natives.values()) if natives else set()
    for path, exported in sorted(exports.items()):
        stray = {name for name in exported if name.startswith(ANY_JNI_PREFIX)} - known
        if stray:
            report.error(path, f"exports JNI names no native method of the jar has: "
                               f"{name_list(stray)}")


# ---- the whole package ----------------------------------------------------------------------

def check_package(report, repo, json_paths):
    counts = {"artifact files": 0, "platform libraries": 0}
    checked = set()  # paths already checked, as two files may name the same artifact
    headers_of = {}  # headers zip -> its Headers (or None)
    natives_of = {}  # Java jar -> its native methods (or None)
    exports_of = {}  # platform zip -> the names its library exports (or None)

    def once(path):
        if path in checked:
            return False
        checked.add(path)
        counts["artifact files"] += 1
        return True

    vendordeps = [(path, check_vendordep(report, path)) for path in json_paths]

    uuids = {path: data["uuid"] for path, data in vendordeps
             if isinstance(data, dict) and type(data.get("uuid")) is str}
    if len(set(uuids.values())) > 1:
        report.error(", ".join(uuids), "uuid differs: " +
                     ", ".join(f"{os.path.basename(path)} has {uuid}"
                               for path, uuid in uuids.items()))

    for path, data in vendordeps:
        if data is None:
            continue

        def deps(key):
            return [dep for dep in data.get(key, []) if usable(dep)] \
                if isinstance(data.get(key), list) else []

        # The headers first: the driver's say which c_ entry points and classes it exports.
        headers = None
        for dep in deps("cppDependencies"):
            artifact = Artifact(repo, dep)
            check_pom(report, artifact, checked)
            headers_zip = artifact.path("headers")
            if once(headers_zip):
                headers_of[headers_zip] = check_headers(report, headers_zip,
                                                        library_of_artifact(dep))
            headers = headers or headers_of[headers_zip]
            sources = artifact.path("sources")
            if once(sources):
                open_zip(report, sources)

        natives = {}
        for dep in deps("javaDependencies"):
            artifact = Artifact(repo, dep)
            check_pom(report, artifact, checked)
            for classifier, member in ((None, ".class"), ("sources", ".java"),
                                       ("javadoc", ".html")):
                jar = artifact.path(classifier, "jar")
                if once(jar):
                    archive = check_jar(report, jar, member)
                    if classifier is None:
                        natives_of[jar] = archive and jar_natives(report, jar, archive)
                if classifier is None and natives is not None:
                    found = natives_of.get(jar)
                    natives = None if found is None else {**natives, **found}

        # Platform zip -> its library's exports, by platform and build type, for the natives.
        by_platform = {}
        for key, platforms_key in (("cppDependencies", "binaryPlatforms"),
                                   ("jniDependencies", "validPlatforms")):
            for dep in deps(key):
                artifact = Artifact(repo, dep)
                check_pom(report, artifact, checked)
                library = library_of_artifact(dep)
                platforms = dep.get(platforms_key)
                if library is None or not isinstance(platforms, list):
                    continue
                for platform in platforms:
                    if platform not in PLATFORMS:
                        continue
                    for debug in (False, True):
                        zip_path = artifact.path(platform + ("debug" if debug else ""))
                        if once(zip_path):
                            exports_of[zip_path] = check_platform_zip(
                                report, zip_path, platform, debug, library, headers)
                            if exports_of[zip_path] is not None:
                                counts["platform libraries"] += 1
                        by_platform.setdefault((platform, debug), {})[zip_path] = \
                            exports_of[zip_path]

        if natives is None:
            continue
        for (platform, debug), exports in sorted(by_platform.items()):
            if all(exported is not None for exported in exports.values()):
                check_natives(report, f"{path} {platform}{' debug' if debug else ''}", natives,
                              exports)
    return counts
def main(argv):
    if len(argv) < 3:
        print(f"usage: {argv[0]} REPO JSON...", file=sys.stderr)
        return 2
    repo, json_paths = argv[1], argv[2:]
    report = Report()
    if not os.path.isdir(repo):
        report.error(repo, "is not a folder")
        counts = {}
    else:
        counts = check_package(report, repo, json_paths)
    for line in report.notes:
        print(f"note: {line}")
    for line in report.errors:
        print(line, file=sys.stderr)
    if report.errors:
        print(f"check-package: {len(report.errors)} error(s)", file=sys.stderr)
        return 1
    print(f"check-package: OK: {len(json_paths)} vendordep file(s), "
          f"{counts['artifact files']} artifact files, "
          f"{counts['platform libraries']} platform libraries checked in {repo}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
