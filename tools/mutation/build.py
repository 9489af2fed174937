"""A mutant built as the module is, without CMake: the mutated translation
units compiled with their own commands from compile_commands.json, then
linked with the other objects the mutation build already holds, by the
module's own link command (version script, link-time optimisation and
all). The unit test programs are linked again the same way when a mutant
gets that far; Kelto Focus's after its own units that hold the change are
compiled again. A change in Kelto Focus's own code (files Kelto's build does
not read) is built into kelto_focus.p from its units alone; one in code both
share into kelto.p and, from Kelto Focus's units that hold it, kelto_focus.p."""

import os
import subprocess


def _compile_arguments(compile, source, overlay, output):
    """The compile command of one unit, reading the mutated file from the
    overlay folder: first in the include path, so a mutated header shadows
    the original, and the source itself when it is the one mutated."""
    arguments = list(compile.arguments)
    arguments[arguments.index("-o") + 1] = output
    arguments = [source if os.path.normpath(os.path.join(compile.directory, argument)) == compile.source
                 and not argument.startswith("-") else argument for argument in arguments]
    return arguments[:1] + ["-I" + overlay] + arguments[1:]


def _relink(link, replaced, output):
    arguments = [replaced.get(argument, argument) for argument in link.arguments]
    arguments[arguments.index("-o") + 1] = output
    return arguments


class MutantBuild:
    """One mutant's folder: the mutated file, its objects and its module file
    for each flavour that compiles the change."""

    def __init__(self, root, flavours, mutant, folder):
        self.root = root
        self.flavours = flavours
        self.mutant = mutant
        self.folder = folder
        self.overlay = os.path.join(folder, "overlay")
        self.objects = {}  # flavour -> {CMake's object: the mutant's}
        self.modules = {}  # flavour -> module file
        # Code both share, built into Kelto Focus too: flavour -> its objects, its kelto_focus.p
        self.focus_objects = {}
        self.focus_modules = {}
        self.mutated = None  # the mutated file, once written
        self.error = ""

    def _run(self, arguments, directory):
        done = subprocess.run(arguments, cwd=directory, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, errors="replace")
        if done.returncode != 0:
            lines = [line for line in done.stdout.splitlines() if "error" in line] or done.stdout.splitlines()
            self.error = lines[0].strip() if lines else f"exit {done.returncode}"
        return done.returncode == 0

    def write_source(self):
        mutated = os.path.join(self.overlay, self.mutant.path)
        os.makedirs(os.path.dirname(mutated), exist_ok=True)
        with open(os.path.join(self.root, self.mutant.path), "rb") as original:
            text = original.read()
        change = self.mutant.replacement.encode()
        with open(mutated, "wb") as out:
            out.write(text[:self.mutant.start] + change + text[self.mutant.end:])
        return mutated

    def _compile(self, compile, unit, where):
        """Compiles one unit, reading the mutated file; the object's path, or
        None when the compiler refuses."""
        source = self.mutated if os.path.join(self.root, self.mutant.path) == unit else unit
        output = os.path.join(where, os.path.relpath(unit, self.root).replace(os.sep, "_") + ".o")
        if not self._run(_compile_arguments(compile, source, self.overlay, output), compile.directory):
            return None
        return output

    def _compile_all(self, compiles, units, where):
        """Compiles each unit with its command in `compiles`; the map from
        each original object to its mutated one, or None when the compiler
        refuses any."""
        replaced = {}
        for unit in sorted(units):
            compile = compiles[unit]
            output = self._compile(compile, unit, where)
            if output is None:
                return None
            replaced[compile.output] = output
        return replaced

    def _module(self, compiles, units, link, where):
        """The objects of `units` compiled again and the module relinked with
        them in `where`: (objects, module file), or None when the compiler or
        linker refuses."""
        os.makedirs(where, exist_ok=True)
        replaced = self._compile_all(compiles, units, where)
        if replaced is None:
            return None
        module = os.path.join(where, os.path.basename(link.output))
        if not self._run(_relink(link, replaced, module), link.directory):
            return None
        return replaced, module

    def build(self):
        """Compiles and links the module of each flavour, kelto.p or, for
        Kelto Focus's own code, kelto_focus.p, and for code both share
        kelto_focus.p too; False, with the first error kept, when the
        compiler or linker refuses."""
        self.mutated = self.write_source()
        for name in sorted(self.mutant.flavours):
            flavour = self.flavours[name]
            where = os.path.join(self.folder, name)
            compiles, link = ((flavour.focus_compiles, flavour.focus_module) if self.mutant.focus
                              else (flavour.compiles, flavour.module))
            built = self._module(compiles, self.mutant.units, link, where)
            if built is None:
                return False
            self.objects[name], self.modules[name] = built
            if not self.mutant.focus and self.reaches_focus(name):
                units = flavour.focus_units(os.path.join(self.root, self.mutant.path))
                built = self._module(flavour.focus_compiles, units, flavour.focus_module, os.path.join(where, "focus"))
                if built is None:
                    return False
                self.focus_objects[name], self.focus_modules[name] = built
        return True

    def unit_tests(self, name):
        """The flavour's unit test program linked with the mutated objects,
        or None when the linker refuses."""
        link = self.flavours[name].unit_tests
        program = os.path.join(self.folder, name, "unit_tests")
        if not self._run(_relink(link, self.objects[name], program), link.directory):
            return None
        return program

    def reaches_kelto(self):
        """Whether Kelto's build holds the change (not so of Kelto Focus's own code)."""
        return not self.mutant.focus

    def reaches_focus(self, name):
        """Whether Kelto Focus's build of the flavour holds the change."""
        return self.mutant.focus or bool(self.flavours[name].focus_units(os.path.join(self.root,
                                                                                       self.mutant.path)))

    def focus_unit_tests(self, name):
        """Kelto Focus's unit test program of the flavour, its units that hold
        the change compiled again (already, for its own code); None when the
        compiler or linker refuses."""
        flavour = self.flavours[name]
        where = os.path.join(self.folder, name, "focus")
        os.makedirs(where, exist_ok=True)
        replaced = self.objects[name] if self.mutant.focus else self.focus_objects[name]
        program = os.path.join(where, "unit_tests")
        if not self._run(_relink(flavour.focus_unit_tests, replaced, program), flavour.focus_unit_tests.directory):
            return None
        return program
