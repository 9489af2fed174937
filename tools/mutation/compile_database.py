"""The module's compile and link commands, as CMake wrote them for the
mutation build folder: compile_commands.json for each translation unit of
each flavour, and each target's link.txt for the module files and the unit
test programs. Kelto Focus's units and unit test programs are read too: the
code the two modifiers share is mutated once, through Kelto's units, and
Kelto Focus's unit tests are linked again with it; Kelto Focus's own code
(what its units hold that Kelto's do not) is mutated through its units and
built into kelto_focus.p."""

import json
import os
import shlex
from dataclasses import dataclass, field

# Flavour -> CMake targets: the object library, the module file and the unit
# test program linked from those objects.
FLAVOUR_TARGETS = {
    "classic": ("kelto_objects", "kelto", "kelto_unit_tests"),
    "current": ("kelto_current_objects", "kelto_current", "kelto_unit_tests_current"),
}
# Flavour -> Kelto Focus's object library, module file and unit test program.
FOCUS_TARGETS = {
    "classic": ("kelto_focus_objects", "kelto_focus", "kelto_focus_unit_tests"),
    "current": ("kelto_focus_current_objects", "kelto_focus_current", "kelto_focus_unit_tests_current"),
}


@dataclass
class Compile:
    source: str  # absolute path of the translation unit
    directory: str
    arguments: list
    output: str  # absolute path of the object CMake built


@dataclass
class Link:
    directory: str
    arguments: list  # absolute paths throughout
    output: str


@dataclass
class Flavour:
    name: str
    compiles: dict = field(default_factory=dict)  # source -> Compile
    module: Link = None
    unit_tests: Link = None
    focus_compiles: dict = field(default_factory=dict)  # Kelto Focus's: source -> Compile
    focus_includes: dict = field(default_factory=dict)  # Kelto Focus's: source -> the files it reads, or None
    focus_module: Link = None
    focus_unit_tests: Link = None

    def focus_units(self, path):
        """Kelto Focus's units that compile the file `path` or read it as a
        header; all of them when a unit's dependencies are not known."""
        return {source for source, read in self.focus_includes.items()
                if source == path or read is None or path in read}


def _absolute(directory, path):
    return os.path.normpath(os.path.join(directory, path))


def _output_of(arguments):
    return arguments[arguments.index("-o") + 1]


def _read_link(build, target_dir):
    """The one command of a target's link.txt, its paths made absolute."""
    link_txt = os.path.join(build, target_dir, "link.txt")
    with open(link_txt) as text:
        lines = [line for line in text.read().splitlines() if line.strip()]
    if len(lines) != 1:
        raise SystemExit(f"mutate: {link_txt} holds {len(lines)} commands, expected one")
    # CMake runs it from the folder of the target's CMakeLists.
    directory = os.path.dirname(os.path.dirname(os.path.join(build, target_dir)))
    arguments = shlex.split(lines[0])
    made_absolute = [arguments[0]]
    for argument in arguments[1:]:
        relative = not argument.startswith(("-", "/")) and (argument.endswith((".o", ".a", ".p", ".so"))
                                                            or "/" in argument)
        made_absolute.append(_absolute(directory, argument) if relative else argument)
    return Link(directory, made_absolute, _output_of(made_absolute))


def _target_dir(build, target):
    for root, folders, _ in os.walk(build):
        if target + ".dir" in folders and os.path.basename(root) == "CMakeFiles":
            return os.path.relpath(os.path.join(root, target + ".dir"), build)
    raise SystemExit(f"mutate: no target {target} in {build}; was it configured?")


def _compiles_of(entries, objects):
    """The compile commands of every unit of one object library: the build's
    own list of a module's sources."""
    compiles = {}
    marker = f"/{objects}.dir/"
    for entry in entries:
        arguments = entry.get("arguments") or shlex.split(entry["command"])
        output = _output_of(arguments)
        if marker not in "/" + output:
            continue
        source = _absolute(entry["directory"], entry["file"])
        compiles[source] = Compile(source, entry["directory"], arguments, _absolute(entry["directory"], output))
    if not compiles:
        raise SystemExit(f"mutate: compile_commands.json has no entry of {objects}")
    return compiles


def _files_read(compile):
    """The files a unit read when it was built, from the compiler's
    dependency file beside its object; None when there is none."""
    try:
        with open(compile.output + ".d") as text:
            words = text.read().replace("\\\n", " ").split()
    except OSError:
        return None
    return {_absolute(compile.directory, word) for word in words[1:] if not word.endswith(":")}


def load(build):
    """Both flavours' compile and link commands of the module, and of Kelto
    Focus's units and unit tests."""
    with open(os.path.join(build, "compile_commands.json")) as text:
        entries = json.load(text)
    flavours = {}
    for name, (objects, module, unit_tests) in FLAVOUR_TARGETS.items():
        flavour = Flavour(name)
        flavour.compiles = _compiles_of(entries, objects)
        flavour.module = _read_link(build, _target_dir(build, module))
        flavour.unit_tests = _read_link(build, _target_dir(build, unit_tests))
        focus_objects, focus_module, focus_unit_tests = FOCUS_TARGETS[name]
        flavour.focus_compiles = _compiles_of(entries, focus_objects)
        flavour.focus_includes = {source: _files_read(compile) for source, compile in flavour.focus_compiles.items()}
        flavour.focus_module = _read_link(build, _target_dir(build, focus_module))
        flavour.focus_unit_tests = _read_link(build, _target_dir(build, focus_unit_tests))
        flavours[name] = flavour
    return flavours


def parse_arguments(compile):
    """What libclang needs of a compile command to see the same code: the
    include folders, the definitions and the language standard."""
    kept = []
    arguments = compile.arguments[1:]
    index = 0
    while index < len(arguments):
        argument = arguments[index]
        if argument in ("-I", "-D", "-U", "-isystem", "-include"):
            kept += [argument, arguments[index + 1]]
            index += 2
            continue
        if argument.startswith(("-I", "-D", "-U", "-std=", "-isystem")):
            kept.append(argument)
        index += 1
    return kept
