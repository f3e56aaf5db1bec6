#!/usr/bin/env python3
"""The example language files stay complete as the code changes: every text the component can show
through its translator has an entry in the German and the French file, and each entry is such a text.

The texts, by one simple rule over the product sources:
- [Error Message]: the string literals in the text arguments of Translate, InformationBox,
  WarningBox and ShowMessage. An argument without a literal is a name; it stands for every literal
  or name assigned to that name ("name = ...;", "name[] = ...;") and, when it is the last parameter
  of a function, for the arguments passed there. The translator's own files only pass keys on: only
  their literals count. An argument the rule cannot resolve fails the check.
- [Handle dialog], [Setting dialog]: the caption and control texts of the dialog templates in
  resources/*.rc (TranslateWindow), except those of trackbars and date pickers, which show none.

Usage: check_translations.py SOURCE-DIR
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
DECLARATION = re.compile(r"\s*(const\s+)?[\w:<>]+[\s*&]+\w+\s*$")  # a parameter, not an argument
CALLS = {"Translate": 1, "InformationBox": 2, "WarningBox": 1, "ShowMessage": 2}  # leading text arguments
SECTIONS = {"IDD_HANDLE_CANON_DLG": "Handle dialog", "IDD_SETTING_DIALOG": "Setting dialog"}
# One text of each way a text reaches the translator, so that a blind rule cannot pass.
SEEN = [("Error Message", "View Off"),  # one branch of a choice
        ("Error Message", "Warning"),  # the translator's own caption
        ("Error Message", "PopCanonSettingDlg"),  # passed on as a parameter
        ("Error Message", "No such camera: %s"),  # assigned to a variable
        ("Error Message", "Please Set the timer interval from 5 seconds to 60 seconds!"),  # via two names
        ("Handle dialog", "Camera Setting"), ("Setting dialog", "Setting")]  # a button, a dialog caption
problems = []


def arguments(code, start):
    """The top-level arguments of the call whose '(' is at start."""
    args, depth, i = [""], 0, start + 1
    while i < len(code) and (code[i] != ")" or depth):
        literal = LITERAL.match(code, i)
        if literal:  # may hold commas and brackets
            args[-1] += literal.group(0)
            i = literal.end()
            continue
        depth += (code[i] == "(") - (code[i] == ")")
        if code[i] == "," and not depth:
            args.append("")
        else:
            args[-1] += code[i]
        i += 1
    return args


def passed(files, function, index):
    for code in files:
        for call in re.finditer(r"\b%s\s*\(" % function, code):
            args = arguments(code, call.end() - 1)
            if index < len(args) and not DECLARATION.match(args[index]):
                yield args[index]


known = {}  # name -> texts


def texts_of(files, arg):
    literals = set(LITERAL.findall(arg))
    name = re.search(r"\b([A-Za-z_]\w*)(\s*\.\s*c_str\s*\(\s*\))?\s*$", arg)
    if literals or not name or name.group(1) == "nullptr":
        return literals
    name = name.group(1)
    if name not in known:
        known[name] = texts = set()  # also ends a cycle of names
        for code in files:
            for value in re.finditer(r'\b%s\s*(\[\s*\])?\s*=\s*("(?:[^"\\]|\\.)*"|[A-Za-z_][\w:]*)\s*;' % name, code):
                texts |= texts_of(files, value.group(2))
            for definition in re.finditer(r"(\w+)\s*\(([^()]*)\b%s\s*\)\s*(const\s*)?\{" % name, code):
                for arg in passed(files, definition.group(1), definition.group(2).count(",")):
                    texts |= texts_of(files, arg)
    return known[name]


def language_file(path):
    """The entries as the profile functions find them: keys trimmed; an empty value is no entry."""
    entries, section = {}, None
    for line in path.read_bytes().decode("latin-1").splitlines():
        line = line.strip(" \t\r")
        key, _, value = line.partition("=")
        if len(line) > 1 and line[0] == "[" and line[-1] == "]":
            section = line[1:-1]
        elif line and line[0] != ";" and value.strip(" \t"):
            entries.setdefault(section, set()).add(key.strip(" \t"))
    return entries


own, other = [], []
for folder in ("sdk", "camera", "dialog", "settings", "component", "platform"):
    for path in sorted((root / folder).rglob("*")):
        if path.suffix in (".cpp", ".h"):
            translator = path.name.startswith(("message_translator.", "error_report."))
            (own if translator else other).append(path.read_text(errors="replace"))
expected = {section: set() for section in ["Error Message", *SECTIONS.values()]}
for function, count in CALLS.items():
    for index in range(count):
        for arg in passed(own, function, index):
            expected["Error Message"] |= set(LITERAL.findall(arg))
        for arg in passed(other, function, index):
            texts = texts_of(other, arg)
            if not texts:
                problems.append(f"cannot tell the texts of {function}(...{arg.strip()}...)")
            expected["Error Message"] |= texts
for rc in sorted((root / "resources").glob("*.rc")):
    section = None
    for line in rc.read_text(errors="replace").splitlines():
        dialog = re.match(r"(\w+)\s+DIALOG(EX)?\b", line)
        control = re.match(r'\s*[A-Z0-9]+\s+"([^"]*)"(.*)', line)
        if line.startswith("END"):
            section = None
        elif dialog:
            section = SECTIONS.get(dialog.group(1))
            if not section:
                problems.append(f"{dialog.group(1)} has no section in the language files")
        elif section and control and control.group(1) and not re.search(
                r'"(msctls_trackbar32|SysDateTimePick32)"', control.group(2)):
            expected[section].add(control.group(1))
expected = {section: {text.strip(" \t") for text in texts} for section, texts in expected.items()}

problems += [f"the rule misses [{section}] {text}" for section, text in SEEN if text not in expected[section]]
if "Slider1" in expected["Handle dialog"]:
    problems.append("a trackbar's template text counted")
for language in ("de", "fr"):
    entries = language_file(root / "examples/languages" / language / "KamvioML.ini")
    for section in sorted(expected.keys() | entries.keys()):
        problems += [f'{language} [{section}] lacks "{text}"'
                     for text in sorted(expected.get(section, set()) - entries.get(section, set()))]
        problems += [f'{language} [{section}] "{text}" is no text of the component'
                     for text in sorted(entries.get(section, set()) - expected.get(section, set()))]
print("\n".join(problems) or "every text the component can show has its entry in both language files")
sys.exit(1 if problems else 0)
