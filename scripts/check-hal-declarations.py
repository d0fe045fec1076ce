#!/usr/bin/python3
"""Holds every declaration of our stand-in HAL headers against WPILib's header of the same name.

Usage: scripts/check-hal-declarations.py --ours DIR --theirs DIR [-I DIR]...
                                         [--generation TEXT] [--clang CLANG]

--ours is one of our include roots (platform/hal/include, platform/hal/2027/include); --theirs is
WPILib's include root that holds hal/ or wpi/hal/; each -I is an include folder WPILib's headers
need (wpiutil's, its thirdparty ones); --generation names the pair in the summary line.

Every header under --ours must exist under --theirs with the same relative path. Each header is
parsed alone with clang, as C++ (-std=c++20) and as C (-std=c11), and its declarations are read
from clang's JSON AST; only the declarations our header makes itself are checked (not those it
gets from its includes), each against what WPILib's same-named header makes visible: what it
declares and what it includes. That is the promise a stand-in makes: code that includes ours is
built against WPILib's header of that name in the real build, and needs each declaration there
with the same type, wherever WPILib happens to put it behind that include.

- functions: the same type as written (return and parameter types with the same typedef names),
  and, in C++, the same language linkage; parameter names may differ;
- structs and unions: the same members, in the same order, with the same types;
- enums: each enumerator ours declares exists in WPILib's enum of that name with the same value
  (ours may declare a subset), and the enum has the same fixed underlying type;
- typedefs and variables: the same type as written;
- macros: each macro ours defines is defined by WPILib's header (or its includes) with the same
  parameters and the same replacement text, whitespace aside.

A header of WPILib's that parses as C++ but not as C (it includes <cstddef>, say) is C++ only: C
code cannot include it, so ours is compared with it as C++ alone (ours must still parse as C), and
a line says so without counting as a difference.

Every difference is printed as one line, `ours-path: what differs (ours ... / WPILib ...)`, with
the language modes it was seen in; a summary line follows. The exit status is 1 on any
difference, on a header that cannot be parsed, and when nothing was compared; 0 when everything
compared matches; 2 when clang cannot be run.
"""

import argparse
import json
import os
import re
import subprocess
import sys

MODES = (("C++", ("-x", "c++", "-std=c++20")), ("C", ("-x", "c", "-std=c11")))
HEADER_SUFFIXES = (".h", ".hpp")
# Kinds of top-level declaration that declare nothing to compare.
IGNORED_KINDS = {"StaticAssertDecl", "EmptyDecl", "PragmaCommentDecl", "PragmaDetectMismatchDecl"}
UNNAMED_AT = re.compile(r"\((unnamed|anonymous) (struct|union|enum|class) at [^)]*\)")
DEFINE = re.compile(r"#define ([A-Za-z_]\w*)(\(([^)]*)\))?(?: (.*))?$")
LINEMARKER = re.compile(r'# \d+ "((?:[^"\\]|\\.)*)"')


class ParseError(Exception):
    """clang could not parse a header (the message holds its first errors)."""


def normalise_type(text):
    """A type as written, with the path clang gives an unnamed struct left out."""
    return UNNAMED_AT.sub(r"(\1 \2)", " ".join(text.split()))


def same_path(a, b):
    return os.path.realpath(a) == os.path.realpath(b)


def run_clang(clang, mode_flags, includes, header, extra):
    command = [clang, *mode_flags, "-Wno-pragma-once-outside-header"]
    for folder in includes:
        command += ["-I", folder]
    command += [*extra, header]
    try:
        result = subprocess.run(command, capture_output=True, text=True, check=False)
    except OSError as error:
        sys.exit(f"check-hal-declarations: cannot run {clang}: {error}")
    if result.returncode != 0:
        errors = [line.strip() for line in result.stderr.splitlines() if "error:" in line]
        raise ParseError("; ".join(errors[:3]) or result.stderr.strip()[:300])
    return result.stdout


# ---- declarations from clang's JSON AST ----

def resolve_locations(tree):
    """Writes the file of every location into it as "_file".

    clang's JSON names a location's file only where it differs from the location printed just
    before it, so the files are recovered by walking the dump in the order it was written (a
    location's "includedFrom" does not count as a location).
    """
    current = None
    stack = [iter((tree,))]
    while stack:
        try:
            value = next(stack[-1])
        except StopIteration:
            stack.pop()
            continue
        if isinstance(value, dict):
            if "offset" in value:
                current = value.get("file", current)
                value["_file"] = current
                continue
            stack.append(iter([v for k, v in value.items() if k != "includedFrom"]))
        elif isinstance(value, list):
            stack.append(iter(value))


def declaration_file(node):
    location = node.get("loc") or {}
    location = location.get("expansionLoc", location)
    return location.get("_file")


def top_level(tree, cxx):
    """(node, qualified-name prefix, language linkage) of each top-level declaration, looking
    through extern "C" blocks and namespaces."""
    found = []

    def walk(nodes, prefix, linkage):
        for node in nodes:
            kind = node.get("kind")
            if kind == "LinkageSpecDecl":
                walk(node.get("inner", []), prefix, node.get("language"))
            elif kind == "NamespaceDecl":
                walk(node.get("inner", []), prefix + node.get("name", "(anonymous)") + "::",
                     linkage)
            elif not node.get("isImplicit"):
                found.append((node, prefix, linkage))

    walk(tree.get("inner", []), "", "C++" if cxx else None)
    return found


def find_constant(node):
    """The value clang computed for an enumerator's initializer or a bit-field's width."""
    stack = list(node.get("inner", []))
    while stack:
        child = stack.pop(0)
        if child.get("kind") == "ConstantExpr" and "value" in child:
            return int(child["value"])
        stack = child.get("inner", []) + stack
    return None


class Decl:
    """One declaration: kind, qualified name and what is compared of it."""

    def __init__(self, kind, name, **facts):
        self.kind = kind
        self.name = name
        self.facts = facts

    def __getattr__(self, key):
        try:
            return self.facts[key]
        except KeyError as error:
            raise AttributeError(key) from error


def record_members(node):
    """[(name, type)] of a struct's fields; an unnamed struct member is spelled out."""
    members, unsupported, pending = [], [], None
    for child in node.get("inner", []):
        kind = child.get("kind")
        if child.get("isImplicit"):
            continue
        if kind in ("RecordDecl", "CXXRecordDecl"):
            pending = child
        elif kind == "FieldDecl":
            written = normalise_type(child["type"]["qualType"])
            if pending is not None and ("(unnamed" in written or "(anonymous" in written):
                written = record_signature(pending)
            if child.get("isBitfield"):
                written += f" : {find_constant(child)}"
            members.append((child.get("name", ""), written))
        elif kind not in ("EnumDecl", "AccessSpecDecl"):
            unsupported.append(f"{kind} {child.get('name', '')}".strip())
    return members, unsupported


def record_signature(node):
    members, _ = record_members(node)
    return (node.get("tagUsed", "struct") + " { "
            + "".join(declarator(t, n) + "; " for n, t in members) + "}")


def return_type(function_type):
    """The return type of a function type as clang writes it: "HAL_Bool" of
    "HAL_Bool (int32_t *)" (what is left of the last parenthesised group)."""
    depth, index = 0, 0
    stripped = re.sub(r"\s*(noexcept|throw\(\))$", "", function_type)
    for index in range(len(stripped) - 1, -1, -1):
        depth += {")": 1, "(": -1}.get(stripped[index], 0)
        if depth == 0:
            break
    return stripped[:index].strip()


def declarations(tree, cxx, only_file=None):
    """The declarations of a translation unit, merged by kind and name: all of them, or those
    located (where the macro that made them was used, for a macro) in `only_file`."""
    resolve_locations(tree)
    unnamed_records = {}
    found = []
    for node, prefix, linkage in top_level(tree, cxx):
        kind = node.get("kind")
        if kind in ("RecordDecl", "CXXRecordDecl") and not node.get("name"):
            unnamed_records[node.get("id")] = node
        if only_file is not None:
            where = declaration_file(node)
            if where is None or not same_path(where, only_file):
                continue
        name = prefix + node.get("name", "")
        if kind == "FunctionDecl":
            params = [normalise_type(p["type"]["qualType"]) for p in node.get("inner", [])
                      if p.get("kind") == "ParmVarDecl"]
            written = normalise_type(node["type"]["qualType"])
            found.append(Decl("function", name, type=written, returns=return_type(written),
                              params=params, linkage=linkage))
        elif kind in ("RecordDecl", "CXXRecordDecl"):
            if not node.get("name"):
                continue  # compared through the typedef or member that names it
            members, unsupported = record_members(node)
            found.append(Decl("struct", name, tag=node.get("tagUsed", "struct"),
                              complete=bool(node.get("completeDefinition")), members=members,
                              unsupported=unsupported))
        elif kind == "EnumDecl":
            fixed = node.get("fixedUnderlyingType", {}).get("qualType")
            enumerators, value = [], None
            for child in node.get("inner", []):
                if child.get("kind") != "EnumConstantDecl":
                    continue
                # An enumerator's inner nodes may be only its documentation comment: without a
                # constant it takes the value after the one before it.
                constant = find_constant(child)
                value = constant if constant is not None else 0 if value is None else value + 1
                scope = name + "::" if node.get("scopedEnumTag") else prefix
                enumerators.append((scope + child["name"], value))
            enum_name = name if node.get("name") else None
            found.append(Decl("enum", enum_name or "(anonymous)", named=enum_name is not None,
                              fixed=fixed and normalise_type(fixed),
                              scoped=node.get("scopedEnumTag"),
                              enumerators=enumerators))
            for enumerator, value in enumerators:
                found.append(Decl("enumerator", enumerator, value=value, enum=enum_name))
        elif kind in ("TypedefDecl", "TypeAliasDecl"):
            written = normalise_type(node["type"]["qualType"])
            owned = owned_record(node, unnamed_records)
            canonical = normalise_type(node["type"].get("desugaredQualType", written))
            if owned is not None:
                written = canonical = record_signature(owned)
            found.append(Decl("typedef", name, type=written, canonical=canonical))
        elif kind == "VarDecl":
            found.append(Decl("variable", name, type=normalise_type(node["type"]["qualType"]),
                              linkage=linkage))
        elif kind not in IGNORED_KINDS:
            found.append(Decl("unsupported", name or kind, what=kind))
    return merge(found)


def owned_record(typedef, unnamed_records):
    """The unnamed struct a typedef names (`typedef struct { ... } T;`), if it does."""
    stack = list(typedef.get("inner", []))
    while stack:
        child = stack.pop()
        for key in ("ownedTagDecl", "decl"):
            ref = child.get(key)
            if isinstance(ref, dict) and ref.get("id") in unnamed_records:
                return unnamed_records[ref["id"]]
        stack.extend(child.get("inner", []))
    return None


def merge(found):
    """One entry per kind and name: an enum's declarations pool their enumerators, a struct's
    definition stands for its forward declarations; functions keep every overload."""
    merged = {}
    for decl in found:
        key = (decl.kind, decl.name)
        if decl.kind == "function":
            merged.setdefault(key, [])
            if all(other.type != decl.type for other in merged[key]):
                merged[key].append(decl)
            continue
        old = merged.get(key)
        if old is None:
            merged[key] = [decl]
        elif decl.kind == "enum":
            old = old[0]
            names = {n for n, _ in old.enumerators}
            old.facts["enumerators"] += [e for e in decl.enumerators if e[0] not in names]
            old.facts["fixed"] = old.fixed or decl.fixed
        elif decl.kind == "struct" and decl.complete and not old[0].complete:
            merged[key] = [decl]
    return merged


# ---- macros from clang's preprocessor ----

def parse_define(line):
    match = DEFINE.match(line)
    if match is None:
        return None
    params = None
    if match.group(2) is not None:
        params = tuple(p.strip() for p in match.group(3).split(",") if p.strip())
    return match.group(1), params, " ".join((match.group(4) or "").split())


def own_macros(text, header):
    """Macros `clang -E -dD` shows defined in `header` itself, in order."""
    current, macros = None, {}
    for line in text.splitlines():
        marker = LINEMARKER.match(line)
        if marker:
            current = marker.group(1).replace("\\\\", "\\")
            continue
        if current is None or current.startswith("<") or not same_path(current, header):
            continue
        if line.startswith("#define "):
            parsed = parse_define(line)
            if parsed:
                macros[parsed[0]] = parsed[1:]
        elif line.startswith("#undef "):
            macros.pop(line.split()[1], None)
    return macros


def all_macros(text):
    """Macros `clang -E -dM` shows defined at the end of a header."""
    macros = {}
    for line in text.splitlines():
        parsed = parse_define(line)
        if parsed:
            macros[parsed[0]] = parsed[1:]
    return macros


def show_macro(params, body):
    head = "" if params is None else "(" + ", ".join(params) + ")"
    return (head + " " + body).strip() if body else (head or "(empty)")


def macro_text(name, params, body):
    return name + ("" if params is not None else " ") + show_macro(params, body)


# ---- hints for what WPILib lacks ----

def loose_name(name):
    """A name with prefixes and spelling conventions left out, to find WPILib's renamings:
    HAL_kInvalidHandle and HAL_INVALID_HANDLE, HAL_NO_AVAILABLE_RESOURCES and
    NO_AVAILABLE_RESOURCES."""
    name = re.sub(r"(^|_)k(?=[A-Z0-9])", r"\1", name.split("::")[-1])
    name = name.replace("_", "").lower()
    return name[3:] if name.startswith("hal") and len(name) > 3 else name


class Theirs:
    """WPILib's include root: where, by a look at the text, a name is declared elsewhere."""

    def __init__(self, root):
        self.root = root
        self.texts = {}
        for folder, _, files in os.walk(root):
            for file in sorted(files):
                if file.endswith(HEADER_SUFFIXES):
                    path = os.path.join(folder, file)
                    with open(path, encoding="utf-8", errors="replace") as stream:
                        self.texts[os.path.relpath(path, root)] = stream.read()

    def headers_declaring(self, kind, name, besides=None):
        short = re.escape(name.split("::")[-1])
        if kind == "macro":
            pattern = re.compile(r"^\s*#\s*define\s+" + short + r"\b", re.M)
        elif kind == "function":
            pattern = re.compile(r"\b" + short + r"\s*\(")
        else:
            pattern = re.compile(r"\b" + short + r"\b")
        return [rel for rel, text in sorted(self.texts.items())
                if rel != besides and pattern.search(text)]


# ---- the comparison ----

class Report:
    def __init__(self):
        self.lines = {}  # (ours path, message) -> modes it was seen in, in order

    def add(self, path, message, mode=None):
        modes = self.lines.setdefault((path, message), [])
        if mode and mode not in modes:
            modes.append(mode)

    def print(self, all_modes):
        for (path, message), modes in self.lines.items():
            tag = ""
            if modes:
                tag = " [" + ", ".join(modes) + (" only" if len(modes) < all_modes else "") + "]"
            print(f"{path}: {message}{tag}")

    def __len__(self):
        return len(self.lines)


def article(word):
    return ("an " if word[0] in "aeiou" else "a ") + word


def lacks(kind, name, rel, theirs_index, hints, ours_text, describe=None, notes=()):
    """The message for a declaration WPILib's header does not make visible, with what ours says
    and where WPILib may have it instead: a name of the same kind spelled another way, or
    another header whose text declares it."""
    label = f"{kind} {name}"
    for other_kind, other_name in theirs_index:
        if other_name == name and other_kind != kind:
            return f"{label} is {article(other_kind)} in WPILib's {rel}, not {article(kind)}"
    notes = list(notes)
    close = sorted({n for k, n in theirs_index if k == kind and n != name
                    and loose_name(n) == loose_name(name)})
    close = [n for n in close if not any(re.search(r"\b" + re.escape(n) + r"\b", note)
                                         for note in notes)]
    if close:
        notes.append("WPILib has " + ", ".join(describe(n) if describe else n for n in close))
    elsewhere = hints.headers_declaring(kind, name, besides=rel)
    if elsewhere:
        notes.append("WPILib declares it in " + ", ".join(elsewhere[:3]))
    return (f"{label} is not declared by WPILib's {rel} (ours {ours_text}"
            + (" / " + "; ".join(notes) if notes else "") + ")")


def compare_decl(ours, theirs_index, rel, hints):
    """Messages for what differs between one of our declarations and WPILib's."""
    kind, name = ours.kind, ours.name
    if kind == "unsupported":
        return [f"{ours.what} {name} is a kind of declaration this check does not compare"]
    if kind == "enum" and not ours.named:
        return []  # its enumerators are compared one by one
    candidates = theirs_index.get((kind, name))
    if not candidates:
        return [lacks(kind, name, rel, theirs_index, hints, *missing_details(ours, theirs_index))]
    theirs = candidates[0]
    if kind == "function":
        for candidate in candidates:
            if candidate.type == ours.type:
                if ours.linkage and candidate.linkage != ours.linkage:
                    return [f'function {name} has another language linkage '
                            f'(ours extern "{ours.linkage}" / WPILib extern "{candidate.linkage}")']
                return []
        return [f"function {name} has another type, {function_difference(ours, theirs)} "
                f"(ours {ours.type} / WPILib {theirs.type})"]
    if kind == "struct":
        return struct_differences(ours, theirs, rel)
    if kind == "enum":
        messages = []
        if (ours.fixed, ours.scoped) != (theirs.fixed, theirs.scoped):
            def shape(enum):
                return " ".join(filter(None, [enum.scoped, enum.fixed or "no fixed type"]))
            messages.append(f"enum {name} has another underlying type "
                            f"(ours {shape(ours)} / WPILib {shape(theirs)})")
        return messages
    if kind == "enumerator":
        if ours.value != theirs.value:
            return [f"enumerator {name} has another value (ours {ours.value} / WPILib "
                    f"{theirs.value})"]
        if ours.enum != theirs.enum:
            return [f"enumerator {name} is in another enum (ours {ours.enum or '(anonymous)'} / "
                    f"WPILib {theirs.enum or '(anonymous)'})"]
        return []
    if kind == "typedef":
        if ours.type == theirs.type:
            return []
        same = (f"; the same type once typedefs are resolved, {ours.canonical}"
                if ours.canonical == theirs.canonical else "")
        return [f"typedef {name} names another type (ours {ours.type} / WPILib "
                f"{theirs.type}{same})"]
    if kind == "variable":
        if ours.type != theirs.type:
            return [f"variable {name} has another type (ours {ours.type} / WPILib {theirs.type})"]
        return []
    raise AssertionError(kind)


def missing_details(ours, theirs_index):
    """(what ours says, how to show a name of WPILib's, notes) for a declaration WPILib lacks."""
    if ours.kind == "enumerator":
        def describe(name):
            return f"{name} = {theirs_index[('enumerator', name)][0].value}"
        notes = []
        if ours.enum and ("enum", ours.enum) in theirs_index:
            same_value = [n for n, v in theirs_index[("enum", ours.enum)][0].enumerators
                          if v == ours.value]
            if same_value:
                notes.append(f"WPILib's {ours.enum} has {same_value[0]} = {ours.value}")
        return f"= {ours.value}", describe, notes
    if ours.kind == "struct":
        return f"{ours.tag} {ours.name}", None, ()
    if ours.kind == "enum":
        return f"enum {ours.name}", None, ()
    return ours.type, None, ()


def function_difference(ours, theirs):
    if ours.returns != theirs.returns:
        return "another return type"
    if len(ours.params) != len(theirs.params):
        return f"{len(ours.params)} parameters where WPILib has {len(theirs.params)}"
    differing = [str(i + 1) for i, (a, b) in enumerate(zip(ours.params, theirs.params)) if a != b]
    if not differing:
        return "another signature"
    return ("parameter " if len(differing) == 1 else "parameters ") + ", ".join(differing)


def declarator(written, name):
    """A member as C declares it: "uint8_t data[8]", "void (*done)(int)", "int32_t flags",
    "uint32_t mode : 3"."""
    width = re.match(r"^(.*) (: -?\d+|: None)$", written)
    if width:
        return declarator(width.group(1), name) + " " + width.group(2)
    pointer = written.find("(*)")
    if pointer >= 0:
        return written[:pointer + 2] + name + written[pointer + 2:]
    array = re.match(r"^(.*?)\s*((?:\[[^]]*\])+)(.*)$", written)
    if array:
        return f"{array.group(1)} {name}{array.group(2)}{array.group(3)}"
    return f"{written} {name}"


def struct_differences(ours, theirs, rel):
    label = f"{ours.tag} {ours.name}"
    messages = [f"{label}: member {what} is a kind of declaration this check does not compare"
                for what in ours.unsupported]
    if ours.tag != theirs.tag:
        messages.append(f"{label} is another kind of record (ours {ours.tag} / WPILib "
                        f"{theirs.tag})")
    if not ours.complete:
        return messages
    if not theirs.complete:
        return messages + [f"{label} is defined by ours but only declared by WPILib's {rel}"]
    a, b = ours.members, theirs.members
    if a == b:
        return messages
    if [n for n, _ in a] == [n for n, _ in b]:
        return messages + [f"{label} member {n} has another type (ours {t} / WPILib {u})"
                           for (n, t), (_, u) in zip(a, b) if t != u]

    def show(members):
        return "; ".join(declarator(t, n) for n, t in members) or "none"

    if sorted(a) == sorted(b):
        return messages + [f"{label} members are in another order (ours {show(a)} / WPILib "
                           f"{show(b)})"]
    return messages + [f"{label} members differ (ours {show(a)} / WPILib {show(b)})"]


def compare_macros(ours, theirs, rel, hints):
    messages = []
    for name, (params, body) in ours.items():
        if name not in theirs:
            index = {("macro", n) for n in theirs}
            messages.append(lacks("macro", name, rel, index, hints, show_macro(params, body),
                                  lambda n: macro_text(n, *theirs[n])))
            continue
        their_params, their_body = theirs[name]
        if params != their_params:
            messages.append(f"macro {name} takes other parameters (ours "
                            f"{show_macro(params, body)} / WPILib "
                            f"{show_macro(their_params, their_body)})")
        elif body != their_body:
            messages.append(f"macro {name} has another replacement (ours {body or '(empty)'} / "
                            f"WPILib {their_body or '(empty)'})")
    return messages


def check(args):
    report = Report()
    hints = Theirs(args.theirs)
    theirs_includes = [args.theirs, *args.include]
    headers = []
    for folder, _, files in os.walk(args.ours):
        for file in files:
            if file.endswith(HEADER_SUFFIXES):
                headers.append(os.path.relpath(os.path.join(folder, file), args.ours))
    headers.sort()
    compared = {mode: 0 for mode, _ in MODES}
    notes = []  # what was compared in fewer modes, and why: no difference
    headers_compared = set()

    for rel in headers:
        ours_path = os.path.join(args.ours, rel)
        their_path = os.path.join(args.theirs, rel)
        modes = [(m, f) for m, f in MODES if m == "C++" or rel.endswith(".h")]
        if not os.path.isfile(their_path):
            names = []
            for mode, flags in modes:
                try:
                    tree = json.loads(run_clang(args.clang, flags, [args.ours], ours_path,
                                                ["-fsyntax-only", "-Xclang", "-ast-dump=json"]))
                    names += [(d[0].kind, d[0].name) for d in
                              declarations(tree, mode == "C++", ours_path).values()]
                    macro_text = run_clang(args.clang, flags, [args.ours], ours_path,
                                           ["-E", "-dD"])
                    names += [("macro", n) for n in own_macros(macro_text, ours_path)]
                except ParseError:
                    pass
            where = []
            for kind, name in dict.fromkeys(names):
                if kind in ("enum", "enumerator", "unsupported"):
                    continue
                found = hints.headers_declaring(kind, name)
                if found:
                    where.append(f"its {kind} {name} is in WPILib's {', '.join(found[:3])}")
            report.add(ours_path, f"WPILib has no {rel}" + (" (" + "; ".join(where) + ")"
                                                             if where else ""))
            continue
        theirs_parsed = []  # the modes WPILib's header was parsed in
        for mode, flags in modes:
            cxx = mode == "C++"
            try:
                ours_tree = json.loads(run_clang(args.clang, flags, [args.ours], ours_path,
                                                 ["-fsyntax-only", "-Xclang", "-ast-dump=json"]))
                ours_decls = declarations(ours_tree, cxx, ours_path)
                del ours_tree
                ours_macros = own_macros(run_clang(args.clang, flags, [args.ours], ours_path,
                                                   ["-E", "-dD"]), ours_path)
            except ParseError as error:
                report.add(ours_path, f"ours cannot be parsed: {error}", mode)
                continue
            try:
                their_tree = json.loads(run_clang(args.clang, flags, theirs_includes, their_path,
                                                  ["-fsyntax-only", "-Xclang",
                                                   "-ast-dump=json"]))
                theirs_index = declarations(their_tree, cxx)
                del their_tree
                their_macros = all_macros(run_clang(args.clang, flags, theirs_includes,
                                                    their_path, ["-E", "-dM"]))
            except ParseError as error:
                if not cxx and "C++" in theirs_parsed:
                    # WPILib's header is C++ only (it includes <cstddef>, say): C code never
                    # includes it, so what it declares is compared as C++ alone.
                    notes.append(f"{ours_path}: WPILib's {rel} is C++ only, compared as C++ "
                                 f"alone (as C: {error})")
                else:
                    report.add(ours_path, f"WPILib's {rel} cannot be parsed: {error}", mode)
                continue
            theirs_parsed.append(mode)
            for decls in ours_decls.values():
                for decl in decls:
                    if decl.kind == "enum" and not decl.named:
                        continue
                    compared[mode] += 1
                    for message in compare_decl(decl, theirs_index, rel, hints):
                        report.add(ours_path, message, mode)
            compared[mode] += len(ours_macros)
            for message in compare_macros(ours_macros, their_macros, rel, hints):
                report.add(ours_path, message, mode)
            if ours_decls or ours_macros:
                headers_compared.add(rel)

    for note in notes:
        print(note)
    report.print(len(MODES))
    total = sum(compared.values())
    counts = ", ".join(f"{n} as {m}" for m, n in compared.items())
    label = f" ({args.label})" if args.label else ""
    if total == 0:
        print(f"check-hal-declarations{label}: nothing compared: no declaration of ours was "
              f"held against WPILib's headers ({len(headers)} headers under {args.ours})")
        return 1
    print(f"check-hal-declarations{label}: {len(headers)} headers of ours, "
          f"{len(headers_compared)} compared, {total} declarations compared ({counts}), "
          f"{len(report)} differences")
    return 1 if len(report) else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ours", required=True, help="our include root")
    parser.add_argument("--theirs", required=True, help="WPILib's include root")
    parser.add_argument("-I", dest="include", action="append", default=[],
                        help="an include folder WPILib's headers need (repeatable)")
    parser.add_argument("--generation", "--label", dest="label", default="",
                        help="names the generation (or pair) in the summary line")
    parser.add_argument("--clang", default="clang", help="the clang to parse with")
    args = parser.parse_args()
    for folder in (args.ours, args.theirs, *args.include):
        if not os.path.isdir(folder):
            parser.error(f"no folder {folder}")
    return check(args)


if __name__ == "__main__":
    sys.exit(main())
