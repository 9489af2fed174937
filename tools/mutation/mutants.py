"""The mutants of the module's source, found on clang's syntax tree: each is
one textual change at a precise byte range of one file.

Kinds:
  operator   a comparison flipped or negated, + and - or * and / swapped,
             && and || swapped, a compound assignment's operator swapped,
             a logical not removed, ++ and -- swapped
  literal    an integer or floating constant n -> n+1 and n -> 0 (0 -> 1),
             true and false swapped, a string made empty (an empty one "x"),
             a character made '\\0' (a '\\0' made 'x')
  condition  the condition of an if, while, for, do or ?: negated
  statement  an expression statement deleted
  return     the value returned changed: a bool negated, a pointer made
             nullptr, an integer made 0 and 1, a floating value made 0

In headers only the bodies of inline functions are mutated, not
declarations; static_asserts never are.
"""

import os
from dataclasses import dataclass, field

import clang.cindex as ci

from compile_database import parse_arguments

K = ci.CursorKind

COMPARISONS = {
    "<": ["<=", ">="],
    "<=": ["<", ">"],
    ">": [">=", "<="],
    ">=": [">", "<"],
    "==": ["!="],
    "!=": ["=="],
}
SWAPPED = {"+": "-", "-": "+", "*": "/", "/": "*", "&&": "||", "||": "&&",
           "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}
LOGICAL = ("&&", "||")
BINARY_MUTATIONS = {**COMPARISONS, **{op: [other] for op, other in SWAPPED.items()}}

FUNCTIONS = (K.FUNCTION_DECL, K.CXX_METHOD, K.CONSTRUCTOR, K.DESTRUCTOR, K.CONVERSION_FUNCTION,
             K.FUNCTION_TEMPLATE, K.LAMBDA_EXPR)
INTEGER_TYPES = {ci.TypeKind.INT, ci.TypeKind.UINT, ci.TypeKind.LONG, ci.TypeKind.ULONG,
                 ci.TypeKind.LONGLONG, ci.TypeKind.ULONGLONG, ci.TypeKind.SHORT, ci.TypeKind.USHORT,
                 ci.TypeKind.CHAR_S, ci.TypeKind.SCHAR, ci.TypeKind.UCHAR, ci.TypeKind.CHAR_U}
FLOATING_TYPES = {ci.TypeKind.FLOAT, ci.TypeKind.DOUBLE, ci.TypeKind.LONGDOUBLE}
POINTER_TYPES = {ci.TypeKind.POINTER, ci.TypeKind.NULLPTR, ci.TypeKind.MEMBERPOINTER}
INTEGER_SUFFIX_LETTERS = "uUlLzZ"
FLOATING_SUFFIX_LETTERS = "fFlL"


@dataclass
class Mutant:
    path: str  # relative to the repository's root
    start: int  # byte offsets in the file
    end: int
    original: str
    replacement: str
    kind: str
    line: int
    column: int
    flavours: set = field(default_factory=set)  # flavours whose build contains the change
    units: set = field(default_factory=set)  # translation units to compile again
    focus: bool = False  # Kelto Focus's own code, built into kelto_focus.p alone
    number: int = 0
    label: str = ""  # how the change is shown, where its text would not say it


    def key(self):
        # Kelto Focus's own after all of Kelto's, so that adding them renumbered none of those.
        return (self.focus, self.path, self.start, self.end, self.replacement)

    def change(self):
        if self.label:
            return self.label

        def shown(text):
            text = " ".join(text.split())
            return text if len(text) <= 60 else text[:57] + "..."
        if self.kind == "statement":
            return f"deleted: {shown(self.original)}"
        if not self.replacement:
            return f"{shown(self.original)} removed"
        return f"{shown(self.original)} -> {shown(self.replacement)}"


class _Finder:
    """Walks one translation unit, collecting the mutants of the module's
    files into a shared table keyed by change."""

    def __init__(self, root, flavour, unit, table, sources, files, focus):
        self.root = root
        self.files = files  # the files whose code is mutated, relative to the root
        self.focus = focus
        self.flavour = flavour
        self.unit = unit
        self.table = table
        self.sources = sources  # path -> bytes, read once

    # -- files and text ------------------------------------------------------

    def _relative(self, file):
        if file is None:
            return None
        relative = os.path.relpath(os.path.realpath(file.name), self.root)
        return relative if relative in self.files else None

    def _text(self, path, start, end):
        if path not in self.sources:
            with open(os.path.join(self.root, path), "rb") as source:
                self.sources[path] = source.read()
        return self.sources[path][start:end].decode("utf-8", "replace")

    def _range(self, extent):
        """The cursor's range as (path, start, end), or None when it does not
        lie whole and unexpanded in one module file."""
        start, end = extent.start, extent.end
        path = self._relative(start.file)
        if path is None or end.file is None or os.path.realpath(end.file.name) != os.path.realpath(start.file.name):
            return None
        if end.offset <= start.offset:
            return None
        return path, start.offset, end.offset

    def _add(self, kind, path, start, end, replacement, expected=None, label="", at=None):
        original = self._text(path, start, end)
        if expected is not None and original != expected:
            return  # a macro expansion or a range clang reports differently
        if replacement == original:
            return
        key = (path, start, end, replacement)
        mutant = self.table.get(key)
        if mutant is None:
            prefix = self.sources[path][:start if at is None else at]
            line = prefix.count(b"\n") + 1
            column = len(prefix) - (prefix.rfind(b"\n") + 1) + 1
            mutant = Mutant(path, start, end, original, replacement, kind, line, column, label=label,
                            focus=self.focus)
            self.table[key] = mutant
        mutant.flavours.add(self.flavour)
        mutant.units.add(self.unit)

    # -- the walk ------------------------------------------------------------

    def walk(self, cursor, function=None, in_body=False):
        for child in cursor.get_children():
            location = child.location
            if location.file is None or self._relative(location.file) is None:
                continue
            self._visit(child, cursor, function, in_body)

    def _visit(self, cursor, parent, function, in_body):
        kind = cursor.kind
        if kind == K.STATIC_ASSERT:
            return
        if kind in FUNCTIONS:
            function = cursor
        if kind == K.COMPOUND_STMT:
            in_body = True
        path = self._relative(cursor.location.file)
        if path is None:
            return
        if in_body or not path.endswith((".h", ".hpp")):
            self._mutate(cursor, parent, function)
        for child in cursor.get_children():
            self._visit(child, cursor, function, in_body)

    def _mutate(self, cursor, parent, function):
        kind = cursor.kind
        if kind in (K.BINARY_OPERATOR, K.COMPOUND_ASSIGNMENT_OPERATOR):
            self._binary(cursor, parent)
        elif kind == K.UNARY_OPERATOR:
            self._unary(cursor)
        elif kind in (K.INTEGER_LITERAL, K.FLOATING_LITERAL, K.CXX_BOOL_LITERAL_EXPR, K.STRING_LITERAL,
                      K.CHARACTER_LITERAL):
            self._literal(cursor)
        elif kind in (K.IF_STMT, K.WHILE_STMT, K.FOR_STMT):
            closing = self._parenthesised_condition(cursor)
            # A body that is a bare statement keeps a statement in its place.
            for child in cursor.get_children():
                if closing is not None and child.extent.start.offset > closing:
                    self._delete(child, "(void)0")
        elif kind == K.DO_STMT:
            children = list(cursor.get_children())
            if len(children) == 2:
                self._delete(children[0], "(void)0")
                self._negate(children[1], "condition")
        elif kind == K.CONDITIONAL_OPERATOR:
            children = list(cursor.get_children())
            if len(children) == 3:
                self._negate(children[0], "condition")
        elif kind == K.RETURN_STMT:
            self._return(cursor, function)
        elif kind == K.COMPOUND_STMT:
            for child in cursor.get_children():
                self._delete(child, "")

    def _tokens(self, cursor):
        return list(cursor.get_tokens())

    def _operator(self, cursor):
        """The operator token of a binary expression: the first punctuation
        after its left operand."""
        if cursor is None or cursor.kind not in (K.BINARY_OPERATOR, K.COMPOUND_ASSIGNMENT_OPERATOR):
            return None
        children = list(cursor.get_children())
        if len(children) != 2:
            return None
        left_end = children[0].extent.end.offset
        for token in self._tokens(cursor):
            if token.extent.start.offset >= left_end and token.kind == ci.TokenKind.PUNCTUATION:
                return token
        return None

    def _binary(self, cursor, parent):
        token = self._operator(cursor)
        if token is None or token.spelling not in BINARY_MUTATIONS:
            return
        where = self._range(token.extent)
        if where is None:
            return
        for replacement in BINARY_MUTATIONS[token.spelling]:
            if token.spelling in LOGICAL and self._regrouped(cursor, parent, replacement):
                self._logical_grouped(cursor, parent, replacement)
            else:
                self._add("operator", *where, replacement, token.spelling)

    def _logical_of(self, cursor):
        token = self._operator(cursor)
        return token.spelling if token is not None and token.spelling in LOGICAL else None

    def _regrouped(self, cursor, parent, replacement):
        """Whether swapping && and || by the token alone would group the
        operands anew (and draw -Wparentheses): an operand, or the
        expression around, is the other logical operator unparenthesised."""
        around = [self._logical_of(parent)] + [self._logical_of(child) for child in cursor.get_children()]
        return any(operator not in (None, replacement) for operator in around)

    def _logical_grouped(self, cursor, parent, replacement):
        """&& and || swapped with parentheses that keep the operands and the
        expression grouped as they were."""
        where = self._range(cursor.extent)
        if where is None:
            return
        operands = []
        for child in cursor.get_children():
            child_range = self._range(child.extent)
            if child_range is None:
                return
            text = self._text(*child_range)
            operands.append(f"({text})" if self._logical_of(child) not in (None, replacement) else text)
        text = f" {replacement} ".join(operands)
        if self._logical_of(parent) not in (None, replacement):
            text = f"({text})"
        token = self._operator(cursor)
        label = f"{token.spelling} -> {replacement}, in parentheses that keep the grouping"
        self._add("operator", *where, text, label=label, at=token.extent.start.offset)

    def _unary(self, cursor):
        tokens = self._tokens(cursor)
        if not tokens:
            return
        for token in (tokens[0], tokens[-1]):
            where = self._range(token.extent)
            if where is None:
                continue
            if token.spelling == "!" and token is tokens[0]:
                self._add("operator", *where, "", "!")
            elif token.spelling in ("++", "--"):
                self._add("operator", *where, "--" if token.spelling == "++" else "++", token.spelling)

    def _literal(self, cursor):
        where = self._range(cursor.extent)
        if where is None:
            return
        text = self._text(*where)
        kind = cursor.kind
        if kind == K.INTEGER_LITERAL:
            body = text.rstrip(INTEGER_SUFFIX_LETTERS)
            suffix = text[len(body):]
            try:
                value = int(body.replace("'", ""), 0)
            except ValueError:
                return
            replacements = ["1"] if value == 0 else [str(value + 1), "0"]
            for replacement in replacements:
                self._add("literal", *where, replacement + suffix, text)
        elif kind == K.FLOATING_LITERAL:
            body = text.rstrip(FLOATING_SUFFIX_LETTERS)
            suffix = text[len(body):]
            try:
                value = float(body.replace("'", ""))
            except ValueError:
                return
            replacements = ["1.0"] if value == 0 else [repr(value + 1), "0.0"]
            for replacement in replacements:
                self._add("literal", *where, replacement + suffix, text)
        elif kind == K.CXX_BOOL_LITERAL_EXPR and text in ("true", "false"):
            self._add("literal", *where, "false" if text == "true" else "true", text)
        elif kind == K.STRING_LITERAL and text.startswith('"') and text.endswith('"'):
            self._add("literal", *where, '""' if text != '""' else '"x"', text)
        elif kind == K.CHARACTER_LITERAL and text.startswith("'"):
            self._add("literal", *where, "'\\0'" if text != "'\\0'" else "'x'", text)

    def _parenthesised_condition(self, cursor):
        """Negates the condition between the statement's parentheses (for a
        for, the part between its two semicolons) when it is an expression;
        returns the offset of the closing parenthesis."""
        tokens = self._tokens(cursor)
        try:
            opening = next(i for i, token in enumerate(tokens) if token.spelling == "(")
        except StopIteration:
            return None
        depth, semicolons, closing = 0, [], None
        for index in range(opening, len(tokens)):
            spelling = tokens[index].spelling
            if spelling in ("(", "[", "{"):
                depth += 1
            elif spelling in (")", "]", "}"):
                depth -= 1
                if depth == 0:
                    closing = index
                    break
            elif spelling == ";" and depth == 1:
                semicolons.append(index)
        if closing is None:
            return None
        closing_offset = tokens[closing].extent.start.offset
        if cursor.kind == K.FOR_STMT:
            if len(semicolons) != 2:
                return closing_offset  # a range-for has none
            first, last = semicolons[0] + 1, semicolons[1] - 1
        else:
            first = (semicolons[-1] if semicolons else opening) + 1
            last = closing - 1
        if last < first:
            return closing_offset  # for (;;)
        start, end = tokens[first].extent.start.offset, tokens[last].extent.end.offset
        for child in cursor.get_children():
            if child.kind.is_expression() and (child.extent.start.offset, child.extent.end.offset) == (start, end):
                self._negate(child, "condition")
        return closing_offset

    def _negate(self, expression, kind):
        where = self._range(expression.extent)
        if where is not None:
            self._add(kind, *where, f"!({self._text(*where)})")

    def _delete(self, statement, replacement):
        if not statement.kind.is_expression():
            return
        where = self._range(statement.extent)
        if where is None:
            return
        text = self._text(*where)
        if text.replace(" ", "").startswith("(void)"):
            return  # the mark of an unused name, not behaviour
        self._add("statement", *where, replacement)

    def _constant(self, expression):
        """The value of an integer literal, an enumerator or a constant
        initialised by a literal; None for anything else."""
        while expression.kind in (K.UNEXPOSED_EXPR, K.PAREN_EXPR, K.CSTYLE_CAST_EXPR, K.CXX_STATIC_CAST_EXPR):
            children = [child for child in expression.get_children() if child.kind.is_expression()]
            if len(children) != 1:
                return None
            expression = children[0]
        if expression.kind == K.INTEGER_LITERAL:
            tokens = self._tokens(expression)
            try:
                return int(tokens[0].spelling.rstrip(INTEGER_SUFFIX_LETTERS), 0) if tokens else None
            except ValueError:
                return None
        if expression.kind != K.DECL_REF_EXPR or expression.referenced is None:
            return None
        declared = expression.referenced
        if declared.kind == K.ENUM_CONSTANT_DECL:
            return declared.enum_value
        if declared.kind == K.VAR_DECL and declared.type.is_const_qualified():
            values = [child for child in declared.get_children() if child.kind.is_expression()]
            return self._constant(values[0]) if len(values) == 1 else None
        return None

    def _return(self, cursor, function):
        children = [child for child in cursor.get_children() if child.kind.is_expression()]
        if len(children) != 1:
            return
        value = children[0]
        where = self._range(value.extent)
        if where is None:
            return
        text = self._text(*where)
        if function is not None and function.kind != K.LAMBDA_EXPR:
            returned = function.result_type.get_canonical().kind
        else:
            returned = value.type.get_canonical().kind
        if returned == ci.TypeKind.BOOL:
            flipped = {"true": "false", "false": "true"}.get(text, f"!({text})")
            self._add("return", *where, flipped)
        elif returned in POINTER_TYPES:
            self._add("return", *where, "nullptr")
        elif returned in INTEGER_TYPES or returned == ci.TypeKind.ENUM:
            known = self._constant(value)
            for replacement in ("0", "1"):
                if known != int(replacement):  # a named constant of that value changes nothing
                    self._add("return", *where, replacement)
        elif returned in FLOATING_TYPES:
            self._add("return", *where, "0.0")


def _module_files(root, unit):
    """The project's files a translation unit is made of: its source and the
    headers it includes from the repository, not the build's generated ones
    nor the system's; relative to the root."""
    paths = [unit.spelling] + [include.include.name for include in unit.get_includes()]
    files = set()
    for path in paths:
        relative = os.path.relpath(os.path.realpath(path), root)
        if not relative.startswith((os.pardir, "build")):
            files.add(relative)
    return files


def _parsed(index, source, compile):
    unit = index.parse(source, args=parse_arguments(compile),
                       options=ci.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD)
    errors = [d for d in unit.diagnostics if d.severity >= ci.Diagnostic.Error]
    if errors:
        raise SystemExit(f"mutate: libclang cannot parse {source}: {errors[0]}")
    return unit


def find(root, flavours):
    """Every mutant of the modules' files, numbered in a fixed order (file,
    place, change), each knowing the flavours that compile it and the
    translation units that hold it. The files are those the build compiles
    into each module and the headers they include: Kelto's, and the code both
    share, through Kelto's units; Kelto Focus's own, every other file of its
    units, through those."""
    index = ci.Index.create()
    table, sources = {}, {}
    kelto_files = set()
    for focus in (False, True):
        for flavour in flavours.values():
            compiles = flavour.focus_compiles if focus else flavour.compiles
            for source, compile in sorted(compiles.items()):
                unit = _parsed(index, source, compile)
                files = _module_files(root, unit)
                if focus:
                    files -= kelto_files
                else:
                    kelto_files |= files
                _Finder(root, flavour.name, source, table, sources, files, focus).walk(unit.cursor)
    mutants = sorted(table.values(), key=Mutant.key)
    for number, mutant in enumerate(mutants, 1):
        mutant.number = number
    return mutants
