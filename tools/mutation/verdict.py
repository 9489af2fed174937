"""What becomes of a built mutant: it goes through the conformance check
(`kelto-host validate`), then the module's end-to-end tests, then the unit
tests (Kelto's, and Kelto Focus's when its build holds the change), each
over every flavour that compiles the change and every module that holds it
(kelto.p, and kelto_focus.p for code both share; for Kelto Focus's own code
kelto_focus.p, the suites that load it and its unit tests alone), and is
killed by the first that fails, times out or crashes."""

import os
import re
import signal
import subprocess
from dataclasses import dataclass

STAGES = ("validate", "end-to-end", "unit tests")

# How a kill by Kelto Focus's unit tests names its flavour.
FOCUS_FLAVOUR = "{}, Kelto Focus"

# What a validator that survives its module says of a check it lost to a
# hang or a crash.
TIME_OUT_WORDS = re.compile(r"time[- ]?out|timed out|hang", re.IGNORECASE)
CRASH_WORDS = re.compile(r"signal|SIG[A-Z]+|crash", re.IGNORECASE)


@dataclass
class Verdict:
    outcome: str  # killed, survived or refused
    stage: str = ""  # which of STAGES killed it
    how: str = ""  # failed, time-out or crash
    flavour: str = ""
    detail: str = ""


@dataclass
class Tools:
    host: str  # kelto-host
    e2e: str  # kelto_e2e_tests
    e2e_filter: str  # the suites that load the module KELTO_MODULE names
    focus_e2e_filter: str  # the suites that load the module KELTO_FOCUS_MODULE names
    seed: int  # handed to validate, so that a run is repeatable
    limit: float  # seconds a run may take


# The variable that names the module file to the end-to-end suites, by
# whether it is Kelto Focus's.
MODULE_VARIABLE = {False: "KELTO_MODULE", True: "KELTO_FOCUS_MODULE"}


def run_limited(arguments, limit, log, environment=None):
    """Runs a program in a process group of its own with its output in LOG;
    returns its exit code, or None when it outlived LIMIT (the whole group is
    killed then)."""
    with open(log, "w") as out:
        process = subprocess.Popen(arguments, stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                   env=environment, start_new_session=True)
        try:
            return process.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return None
        finally:
            try:
                os.killpg(process.pid, signal.SIGKILL)  # anything it left behind
            except ProcessLookupError:
                pass


def _first(lines, prefix):
    return next((line.strip() for line in lines if line.startswith(prefix)), "")


def judge(code, log, limit, failure_prefix):
    """(how, detail) of a run that failed, or None when it passed."""
    if code is None:
        return "time-out", f"ran past {limit:g} s"
    if code < 0:
        return "crash", signal.Signals(-code).name
    if code == 0:
        return None
    with open(log, errors="replace") as text:
        lines = text.read().splitlines()
    failure = _first(lines, failure_prefix) or (lines[-1].strip() if lines else f"exit {code}")
    if TIME_OUT_WORDS.search(failure):
        return "time-out", failure
    if failure_prefix == "FAIL" and CRASH_WORDS.search(failure):
        return "crash", failure
    return "failed", failure


def _environment(folder, module=None, focus=False):
    environment = dict(os.environ)
    scratch = os.path.join(folder, "scratch")
    os.makedirs(scratch, exist_ok=True)
    environment["TEST_TMPDIR"] = scratch
    if module is not None:
        environment[MODULE_VARIABLE[focus]] = module
    return environment


def validate_run(tools, module, folder):
    log = os.path.join(folder, "validate.log")
    code = run_limited([tools.host, "validate", module, "--seed", str(tools.seed)], tools.limit, log,
                       _environment(folder))
    return judge(code, log, tools.limit, "FAIL")


def e2e_run(tools, module, folder, focus=False):
    log = os.path.join(folder, "e2e.log")
    suites = tools.focus_e2e_filter if focus else tools.e2e_filter
    code = run_limited([tools.e2e, "--gtest_filter=" + suites], tools.limit, log,
                       _environment(folder, module, focus))
    return judge(code, log, tools.limit, "[  FAILED  ]")


def unit_run(tools, program, folder):
    log = os.path.join(folder, "unit.log")
    code = run_limited([program], tools.limit, log, _environment(folder))
    return judge(code, log, tools.limit, "[  FAILED  ]")


def _built_modules(mutant_build):
    """Each module file built with the change: (flavour as a kill names it,
    file, whether it is Kelto Focus's), kelto.p's first."""
    modules = [(flavour, module, mutant_build.mutant.focus) for flavour, module in sorted(mutant_build.modules.items())]
    modules += [(FOCUS_FLAVOUR.format(flavour), module, True)
                for flavour, module in sorted(mutant_build.focus_modules.items())]
    return modules


def verdict_of(tools, mutant_build):
    """Runs a built mutant through the stages until one kills it."""
    flavours = sorted(mutant_build.modules)
    modules = _built_modules(mutant_build)
    for named, module, _ in modules:
        failed = validate_run(tools, module, os.path.dirname(module))
        if failed:
            return Verdict("killed", "validate", failed[0], named, failed[1])
    for named, module, focus in modules:
        failed = e2e_run(tools, module, os.path.dirname(module), focus)
        if failed:
            return Verdict("killed", "end-to-end", failed[0], named, failed[1])
    for flavour in flavours:
        programs = [(flavour, mutant_build.unit_tests)] if mutant_build.reaches_kelto() else []
        if mutant_build.reaches_focus(flavour):
            programs.append((FOCUS_FLAVOUR.format(flavour), mutant_build.focus_unit_tests))
        for named, link in programs:
            program = link(flavour)
            if program is None:
                return Verdict("refused", detail=mutant_build.error)
            failed = unit_run(tools, program, os.path.dirname(program))
            if failed:
                return Verdict("killed", "unit tests", failed[0], named, failed[1])
    return Verdict("survived")
