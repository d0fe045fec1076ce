#!/usr/bin/python3
"""Checks that scripts/check-hal-declarations.py passes a matching pair of header trees and fails,
naming the difference, on each mutation of the table below.

Usage: scripts/test-check-hal-declarations.py

Writes a small made-up "WPILib" tree and our copy of it in a temporary folder (ours declares a
subset of an enum and other parameter names, which must still pass), then for each row applies
one change to a fresh pair and runs the checker: the exit status and the expected text must be
in its output. Needs clang.
"""

import os
import subprocess
import sys
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-hal-declarations.py")

THEIRS = {
    "fk/Types.h": """#pragma once
#include <stdint.h>
#include "fk/Handle.h"
#define FK_LIMIT 7
#define FK_PICK(a, b) ((a) ? (b) : 0)
#ifdef __cplusplus
#define FK_ENUM(name) enum name : int32_t
#else
#define FK_ENUM(name) typedef int32_t name; enum name
#endif
FK_ENUM(FK_Mode) { FK_MODE_OFF = 0, FK_MODE_ON = 3, FK_MODE_AUTO, FK_MODE_TEST = -2 };
struct FK_Frame { uint32_t id; uint8_t len; uint8_t data[8]; };
#ifdef __cplusplus
extern "C" {
#endif
FK_Handle FK_Open(int32_t bus, const struct FK_Frame* frame, int32_t* status);
#ifdef __cplusplus
}
#endif
""",
    # Ours declares FK_Handle in fk/Types.h: WPILib's fk/Types.h makes it visible from here.
    "fk/Handle.h": """#pragma once
#include <stdint.h>
typedef int32_t FK_Handle;
""",
    "fk/Empty.h": "#pragma once\n",
}

OURS = {
    "fk/Types.h": """#pragma once
#include <stdint.h>
typedef int32_t FK_Handle;
#define FK_LIMIT 7
#define FK_PICK(a, b) ((a) ? (b) : 0)
#ifdef __cplusplus
#define FK_ENUM(name) enum name : int32_t
#else
#define FK_ENUM(name) typedef int32_t name; enum name
#endif
FK_ENUM(FK_Mode) { FK_MODE_OFF = 0, FK_MODE_ON = 3, FK_MODE_AUTO };
struct FK_Frame { uint32_t id; uint8_t len; uint8_t data[8]; };
#ifdef __cplusplus
extern "C" {
#endif
FK_Handle FK_Open(int32_t busNumber, const struct FK_Frame* f, int32_t* status);
#ifdef __cplusplus
}
#endif
""",
}

OURS_PATH = "ours/fk/Types.h: "


def change(tree, path, old, new):
    """Replaces `old` in one file of a tree; a row whose text is not there is a broken row."""
    def apply(ours, theirs):
        files = ours if tree == "ours" else theirs
        if old is None:
            files[path] = new
            return
        if old not in files[path]:
            raise AssertionError(f"{path} of {tree} has no {old!r}")
        files[path] = files[path].replace(old, new, 1)
    return apply


def chain(*changes):
    def apply(ours, theirs):
        for each in changes:
            each(ours, theirs)
    return apply


def only(files):
    """Ours holds just these files."""
    def apply(ours, _):
        ours.clear()
        ours.update(files)
    return apply


# (case, change, exit status, texts the output must hold)
CASES = [
    ("matching pair", lambda ours, theirs: None, 0,
     ["0 differences", "declarations compared"]),
    ("macro with another value", change("ours", "fk/Types.h", "FK_LIMIT 7", "FK_LIMIT 8"), 1,
     [OURS_PATH + "macro FK_LIMIT has another replacement (ours 8 / WPILib 7) [C++, C]"]),
    ("macro WPILib lacks", change("ours", "fk/Types.h", "#define FK_LIMIT 7",
                                  "#define FK_LIMIT 7\n#define FK_kLimit 7"), 1,
     [OURS_PATH + "macro FK_kLimit is not declared by WPILib's fk/Types.h "
      "(ours 7 / WPILib has FK_LIMIT 7)"]),
    ("function-like macro with other parameters",
     change("ours", "fk/Types.h", "FK_PICK(a, b) ((a) ? (b) : 0)", "FK_PICK(x, b) ((x) ? (b) : 0)"),
     1, ["macro FK_PICK takes other parameters (ours (x, b) ((x) ? (b) : 0) / "
         "WPILib (a, b) ((a) ? (b) : 0))"]),
    ("macro differing only in C",
     change("ours", "fk/Types.h", "typedef int32_t name; enum name",
            "typedef int64_t name; enum name"), 1,
     ["macro FK_ENUM has another replacement (ours typedef int64_t name; enum name / "
      "WPILib typedef int32_t name; enum name) [C only]"]),
    ("function parameter of another type",
     change("ours", "fk/Types.h", "int32_t busNumber", "uint32_t busNumber"), 1,
     [OURS_PATH + "function FK_Open has another type, parameter 1 (ours FK_Handle (uint32_t, "
      "const struct FK_Frame *, int32_t *) / WPILib FK_Handle (int32_t, const struct FK_Frame *, "
      "int32_t *)) [C++, C]"]),
    ("function WPILib lacks",
     change("ours", "fk/Types.h", "int32_t* status);", "int32_t* status);\nvoid FK_Close(void);"),
     1, [OURS_PATH + "function FK_Close is not declared by WPILib's fk/Types.h (ours void (void))"]),
    ("function without C linkage",
     chain(change("ours", "fk/Types.h", '#ifdef __cplusplus\nextern "C" {\n#endif\n', ""),
           change("ours", "fk/Types.h", "#ifdef __cplusplus\n}\n#endif\n", "")), 1,
     ['function FK_Open has another language linkage (ours extern "C++" / WPILib extern "C") '
      "[C++ only]"]),
    ("struct member of another type",
     change("ours", "fk/Types.h", "uint8_t len;", "uint16_t len;"), 1,
     [OURS_PATH + "struct FK_Frame member len has another type (ours uint16_t / WPILib uint8_t)"]),
    ("struct members in another order",
     change("ours", "fk/Types.h", "uint32_t id; uint8_t len;", "uint8_t len; uint32_t id;"), 1,
     [OURS_PATH + "struct FK_Frame members are in another order (ours uint8_t len; uint32_t id; "
      "uint8_t data[8] / WPILib uint32_t id; uint8_t len; uint8_t data[8])"]),
    ("enumerator with another value",
     change("ours", "fk/Types.h", "FK_MODE_ON = 3", "FK_MODE_ON = 4"), 1,
     [OURS_PATH + "enumerator FK_MODE_ON has another value (ours 4 / WPILib 3)"]),
    ("enumerator whose value WPILib leaves implicit",
     change("ours", "fk/Types.h", "FK_MODE_AUTO }", "FK_MODE_AUTO = 5 }"), 1,
     [OURS_PATH + "enumerator FK_MODE_AUTO has another value (ours 5 / WPILib 4)"]),
    ("enumerator WPILib documents and leaves implicit",
     chain(change("theirs", "fk/Types.h", "FK_MODE_AUTO,", "/** automatic */ FK_MODE_AUTO,"),
           change("ours", "fk/Types.h", "FK_MODE_AUTO }", "FK_MODE_AUTO = 5 }")), 1,
     [OURS_PATH + "enumerator FK_MODE_AUTO has another value (ours 5 / WPILib 4)"]),
    ("enumerator WPILib lacks",
     change("ours", "fk/Types.h", "FK_MODE_AUTO }", "FK_MODE_AUTO, FK_MODE_BOOST }"), 1,
     [OURS_PATH + "enumerator FK_MODE_BOOST is not declared by WPILib's fk/Types.h (ours = 5)"]),
    ("typedef of another type",
     change("ours", "fk/Types.h", "typedef int32_t FK_Handle;", "typedef int64_t FK_Handle;"), 1,
     [OURS_PATH + "typedef FK_Handle names another type (ours int64_t / WPILib int32_t)"]),
    ("header WPILib lacks", change("ours", "fk/Gone.h", None, "#pragma once\n#define FK_GONE 1\n"),
     1, ["ours/fk/Gone.h: WPILib has no fk/Gone.h"]),
    ("header WPILib cannot parse",
     change("theirs", "fk/Types.h", '#include "fk/Handle.h"', '#include "fk/Missing.h"'), 1,
     [OURS_PATH + "WPILib's fk/Types.h cannot be parsed: ", "'fk/Missing.h' file not found"]),
    ("WPILib header that is C++ only",
     change("theirs", "fk/Types.h", "#pragma once\n", "#pragma once\n#ifndef __cplusplus\n"
            "#error C++ only\n#endif\n"), 0,
     [OURS_PATH + "WPILib's fk/Types.h is C++ only, compared as C++ alone", "0 differences"]),
    ("WPILib header that is C++ only, compared as C++",
     chain(change("theirs", "fk/Types.h", "#pragma once\n", "#pragma once\n#ifndef __cplusplus\n"
                  "#error C++ only\n#endif\n"),
           change("ours", "fk/Types.h", "FK_LIMIT 7", "FK_LIMIT 8")), 1,
     [OURS_PATH + "macro FK_LIMIT has another replacement (ours 8 / WPILib 7) [C++ only]"]),
    ("nothing compared", only({"fk/Empty.h": "#pragma once\n"}), 1,
     ["nothing compared"]),
]


def write(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as stream:
            stream.write(text)


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as temp:
        for number, (case, apply, status, expected) in enumerate(CASES):
            ours, theirs = dict(OURS), dict(THEIRS)
            apply(ours, theirs)
            pair = os.path.join(temp, str(number))
            write(os.path.join(pair, "ours"), ours)
            write(os.path.join(pair, "theirs"), theirs)
            result = subprocess.run(
                [sys.executable, CHECKER, "--ours", "ours", "--theirs", "theirs",
                 "--generation", case], cwd=pair, capture_output=True, text=True, check=False)
            output = result.stdout + result.stderr
            missing = [text for text in expected if text not in output]
            if result.returncode != status or missing:
                failures += 1
                print(f"FAIL {case}: exit {result.returncode} (expected {status}); missing "
                      f"{missing}\n{output}")
            else:
                print(f"ok   {case}")
    print(f"{len(CASES) - failures} of {len(CASES)} cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
