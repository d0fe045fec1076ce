#!/usr/bin/python3
"""Checks a BrovaDriver Maven repository and its vendordep JSON files.

Usage: scripts/check-package.py REPO JSON...

REPO is the folder that holds com/quorvel/frc/...; each JSON is a vendordep file that names
artifacts in it. Every problem found is printed as one line on standard error, naming the file
and what is wrong; the exit status is 1 when there is any, 0 (with a short summary on standard
output) when there is none.
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
LIB_NAME = "BrovaDriver"
C_ENTRY_POINTS = 53
JNI_NATIVES = 52
JNI_PREFIX = "Java_com_quorvel_frc_jni_"

# Platform classifier -> (folder inside its zip, ELF machine).
PLATFORMS = {
    "linuxx86-64": ("linux/x86-64/shared", "EM_X86_64"),
    "linuxarm64": ("linux/arm64/shared", "EM_AARCH64"),
    "linuxsystemcore": ("linux/systemcore/shared", "EM_AARCH64"),
    "linuxathena": ("linux/athena/shared", "EM_ARM"),
}
SOFT_PLATFORM = "linuxathena"
EF_ARM_ABI_FLOAT_SOFT = 0x200
EF_ARM_ABI_FLOAT_HARD = 0x400

WPILIB_NEEDED = {"libwpiHal.so", "libwpiutil.so"}
# WPILib's debug builds carry a "d" before ".so"; a debug library may link those instead.
WPILIB_DEBUG_NEEDED = {"libwpiHald.so", "libwpiutild.so"}
SYSTEM_NEEDED = re.compile(
    r"^(?:lib(?:c|m|stdc\+\+|gcc_s|pthread|dl|atomic)\.so|ld-linux[^/]*\.so)\.[0-9][0-9.]*$")
FRC_SYMBOL = re.compile(r"^_Z(?:T[VIST]|GV|TH|TW)?N[KVRHO]*3frc")
UUID = re.compile(r"^[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$")

COMMON_KEYS = {"groupId", "artifactId", "version"}
JAVA_KEYS = COMMON_KEYS
JNI_KEYS = COMMON_KEYS | {"isJar", "validPlatforms", "skipInvalidPlatforms"}
CPP_KEYS = COMMON_KEYS | {"libName", "headerClassifier", "sourcesClassifier", "sharedLibrary",
                          "skipInvalidPlatforms", "binaryPlatforms"}
# Keys whose value is fixed: key -> value.
JNI_FIXED = {"isJar": False, "skipInvalidPlatforms": True}
CPP_FIXED = {"libName": LIB_NAME, "headerClassifier": "headers", "sourcesClassifier": "sources",
             "sharedLibrary": True, "skipInvalidPlatforms": True}


class Report:
    def __init__(self):
        self.errors = []

    def error(self, where, what):
        self.errors.append(f"{where}: {what}")


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
    year = None
    if type(version) is str:
        match = re.match(r"^(\d{4})\.", version)
        if match:
            year = int(match.group(1))
        else:
            report.error(path, f"version '{version}' does not start with a year")
    year_key = "wpilibYear" if year is not None and year >= 2027 else "frcYear"
    keys = {"fileName", "name", "version", "uuid", "mavenUrls", "jsonUrl", year_key,
            "javaDependencies", "jniDependencies", "cppDependencies"}
    check_keys(report, path, data, keys)

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
    if check_type(report, path, data, year_key, str):
        if not re.fullmatch(r"\d{4}", data[year_key]):
            report.error(path, f"{year_key} '{data[year_key]}' is not a year")
        elif year is not None and int(data[year_key]) != year:
            report.error(path, f"{year_key} '{data[year_key]}' is not the version's year {year}")

    lists = (("javaDependencies", JAVA_KEYS, {}), ("jniDependencies", JNI_KEYS, JNI_FIXED),
             ("cppDependencies", CPP_KEYS, CPP_FIXED))
    for list_key, dep_keys, fixed in lists:
        if not check_type(report, path, data, list_key, list):
            continue
        if not data[list_key]:
            report.error(path, f"'{list_key}' is an empty list")
        for index, dep in enumerate(data[list_key]):
            where = f"{path} {list_key}[{index}]"
            if not isinstance(dep, dict):
                report.error(where, f"is a {type_name(dep)}, not an object")
                continue
            check_dependency(report, where, dep, dep_keys, fixed, version)
            platforms_key = {"jniDependencies": "validPlatforms",
                             "cppDependencies": "binaryPlatforms"}.get(list_key)
            if platforms_key:
                for platform in check_string_list(report, where, dep, platforms_key) or []:
                    if platform not in PLATFORMS:
                        report.error(where, f"'{platforms_key}' names unknown platform "
                                            f"'{platform}'")
    return data


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


def header_entry_points(text):
    """The c_ names that BROVA_API declares in BrovaDriver.h."""
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    text = re.sub(r"^\s*#[^\n]*", " ", text, flags=re.M)
    return re.findall(r"\bBROVA_API\b[^;{(]*?\b(c_\w+)\s*\(", text)


def check_headers(report, path):
    """Checks the headers zip; returns the entry points BrovaDriver.h declares, or None."""
    archive = open_zip(report, path)
    if archive is None:
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
    if "BrovaDriver.h" not in names:
        return None
    declared = header_entry_points(archive.read("BrovaDriver.h").decode("utf-8", "replace"))
    where = f"{path}!BrovaDriver.h"
    if len(declared) != len(set(declared)):
        report.error(where, "declares an entry point twice")
    if len(set(declared)) != C_ENTRY_POINTS:
        report.error(where, f"declares {len(set(declared))} BROVA_API entry points, "
                            f"not {C_ENTRY_POINTS}")
    return set(declared)


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


def check_library(report, where, data, platform, debug, entry_points):
    folder, machine = PLATFORMS[platform]
    try:
        elf = ELFFile(io.BytesIO(data))
        header = elf.header
    except ELFError as problem:
        report.error(where, f"is not an ELF file ({problem})")
        return
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

    allowed_wpilib = WPILIB_NEEDED | (WPILIB_DEBUG_NEEDED if debug else set())
    for section in elf.iter_sections():
        if isinstance(section, DynamicSection):
            for tag in section.iter_tags("DT_NEEDED"):
                if tag.needed not in allowed_wpilib and not SYSTEM_NEEDED.match(tag.needed):
                    report.error(where, f"DT_NEEDED {tag.needed} is neither WPILib's nor the "
                                        f"system's")

    for table in (".dynsym", ".symtab"):
        section = elf.get_section_by_name(table)
        if not isinstance(section, SymbolTableSection):
            continue
        frc = {symbol.name for symbol in section.iter_symbols()
               if symbol["st_shndx"] != "SHN_UNDEF" and FRC_SYMBOL.match(symbol.name)}
        if frc:
            report.error(where, f"{table} defines {len(frc)} symbols in namespace frc: "
                                f"{name_list(frc)}")

    exported = exported_names(elf)
    c_names = {name for name in exported if name.startswith("c_")}
    jni_names = {name for name in exported if name.startswith(JNI_PREFIX)}
    others = exported - c_names - jni_names
    if others:
        report.error(where, f"exports {len(others)} symbols that are not entry points: "
                            f"{name_list(others)}")
    if len(c_names) != C_ENTRY_POINTS:
        report.error(where, f"exports {len(c_names)} c_ entry points, not {C_ENTRY_POINTS}")
    if entry_points is not None:
        if entry_points - c_names:
            report.error(where, f"does not export what BrovaDriver.h declares: "
                                f"{name_list(entry_points - c_names)}")
        if c_names - entry_points:
            report.error(where, f"exports c_ names BrovaDriver.h does not declare: "
                                f"{name_list(c_names - entry_points)}")
    if len(jni_names) != JNI_NATIVES:
        report.error(where, f"exports {len(jni_names)} JNI natives ({JNI_PREFIX}...), "
                            f"not {JNI_NATIVES}")


def check_platform_zip(report, path, platform, debug, entry_points):
    archive = open_zip(report, path)
    if archive is None:
        return False
    folder = PLATFORMS[platform][0]
    library = f"{folder}/lib{LIB_NAME}{'d' if debug else ''}.so"
    names = files_of(archive)
    for name in names:
        if name != library:
            report.error(path, f"holds extra file '{name}' (only {library} belongs there)")
    if library not in names:
        report.error(path, f"lacks {library}")
        return False
    check_library(report, f"{path}!{library}", archive.read(library), platform, debug,
                  entry_points)
    return True


# ---- the whole package ----------------------------------------------------------------------

def check_package(report, repo, json_paths):
    counts = {"artifact files": 0, "platform libraries": 0}
    checked = set()  # paths already checked, as two files may name the same artifact
    declared_by = {}  # headers zip -> the entry points its BrovaDriver.h declares (or None)

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

        # The headers first: BrovaDriver.h says which c_ entry points the libraries export.
        entry_points = None
        for dep in deps("cppDependencies"):
            artifact = Artifact(repo, dep)
            check_pom(report, artifact, checked)
            headers = artifact.path("headers")
            if once(headers):
                declared_by[headers] = check_headers(report, headers)
            entry_points = entry_points or declared_by[headers]
            sources = artifact.path("sources")
            if once(sources):
                open_zip(report, sources)

        for dep in deps("javaDependencies"):
            artifact = Artifact(repo, dep)
            check_pom(report, artifact, checked)
            for classifier, member in ((None, ".class"), ("sources", ".java"),
                                       ("javadoc", ".html")):
                jar = artifact.path(classifier, "jar")
                if once(jar):
                    check_jar(report, jar, member)

        for key, platforms_key in (("cppDependencies", "binaryPlatforms"),
                                   ("jniDependencies", "validPlatforms")):
            for dep in deps(key):
                artifact = Artifact(repo, dep)
                check_pom(report, artifact, checked)
                platforms = dep.get(platforms_key)
                if not isinstance(platforms, list):
                    continue
                for platform in platforms:
                    if platform not in PLATFORMS:
                        continue
                    for debug in (False, True):
                        zip_path = artifact.path(platform + ("debug" if debug else ""))
                        if once(zip_path) and check_platform_zip(report, zip_path, platform,
                                                                 debug, entry_points):
                            counts["platform libraries"] += 1
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
