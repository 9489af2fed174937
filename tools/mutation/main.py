"""Mutation testing of the module: run through tools/mutate.sh, which builds
the mutation build folder first. See TESTING.md."""

import argparse
import os
import random
import re
import shutil
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import compile_database
import mutants as mutant_finder
import report
from build import MutantBuild
from verdict import Tools, Verdict, e2e_run, unit_run, validate_run, verdict_of

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
DEFAULT_SEED = 1
DEFAULT_LIMIT = 10.0  # seconds; the unmutated module's runs take a fraction of one


def _options():
    parser = argparse.ArgumentParser(prog="tools/mutate.sh", description=(
        "Makes one-change mutants of the module's source and says which ones the conformance check and "
        "the tests kill."))
    parser.add_argument("--sample", type=int, metavar="N", help="try N mutants drawn at random (default: all)")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED, metavar="S",
                        help=f"seed of the draw and of validate (default {DEFAULT_SEED})")
    parser.add_argument("--jobs", type=int, default=2, metavar="J", help="mutants tried at once (default 2)")
    parser.add_argument("--timeout", type=float, default=DEFAULT_LIMIT, metavar="SECONDS",
                        help=f"time limit of each run of a mutant (default {DEFAULT_LIMIT:g})")
    parser.add_argument("--only", metavar="N,N,...", help="try these mutants, by number")
    parser.add_argument("--modifier", choices=("kelto", "focus"),
                        help="try only the mutants of kelto.p's files (the code both share included) "
                             "or of Kelto Focus's own")
    parser.add_argument("--list", action="store_true", help="list every mutant and stop")
    parser.add_argument("--keep", action="store_true", help="keep every mutant's folder, not only survivors' patches")
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "mutation"), help=argparse.SUPPRESS)
    options = parser.parse_args()
    if options.jobs < 1 or (options.sample is not None and options.sample < 1) or options.timeout <= 0:
        parser.error("--jobs, --sample and --timeout take positive numbers")
    return options


def _e2e_filter(name):
    """The suites that tests/CMakeLists.txt names `name`: those the test
    build runs once more over the current module, by KELTO_MODULE
    (module_behaviours), or Kelto Focus's, by KELTO_FOCUS_MODULE
    (focus_module_behaviours)."""
    with open(os.path.join(ROOT, "tests", "CMakeLists.txt")) as text:
        found = re.search(r'set\(' + name + r'\s+"([^"]+)"\s*\)', text.read())
    if found is None:
        raise SystemExit(f"mutate: tests/CMakeLists.txt no longer names {name}")
    return found.group(1)


def _check_unmutated(tools, flavours, folder):
    """Every run must pass on the module as it is, or no kill means anything."""
    os.makedirs(folder, exist_ok=True)
    for name, flavour in flavours.items():
        focus = flavour.focus_module.output
        runs = (("validate", validate_run, flavour.module.output), ("end-to-end", e2e_run, flavour.module.output),
                ("unit tests", unit_run, flavour.unit_tests.output), ("Kelto Focus's validate", validate_run, focus),
                ("Kelto Focus's end-to-end", lambda t, m, f: e2e_run(t, m, f, True), focus),
                ("Kelto Focus's unit tests", unit_run, flavour.focus_unit_tests.output))
        for stage, run, subject in runs:
            failed = run(tools, subject, folder)
            if failed:
                raise SystemExit(f"mutate: the unmutated {name} module fails {stage} ({failed[0]}: {failed[1]}); "
                                 f"the logs are in {folder}")
    shutil.rmtree(folder)


def _chosen(options, found):
    if options.modifier:
        found = [mutant for mutant in found if mutant.focus == (options.modifier == "focus")]
    if options.only:
        wanted = {int(number) for number in options.only.split(",") if number.strip()}
        unknown = wanted - {mutant.number for mutant in found}
        if unknown:
            raise SystemExit(f"mutate: no mutant numbered {sorted(unknown)[0]} (there are {len(found)})")
        return [mutant for mutant in found if mutant.number in wanted]
    if options.sample is None or options.sample >= len(found):
        return list(found)
    return sorted(random.Random(options.seed).sample(found, options.sample), key=lambda mutant: mutant.number)


def main():
    options = _options()
    build = os.path.realpath(options.build)
    flavours = compile_database.load(build)
    found = mutant_finder.find(ROOT, flavours)
    if options.list:
        for mutant in _chosen(options, found) if options.modifier else found:
            print(f"#{mutant.number}\t{mutant.path}:{mutant.line}:{mutant.column}\t{mutant.kind}\t"
                  f"{'+'.join(sorted(mutant.flavours))}\t{mutant.change()}")
        return 0
    chosen = _chosen(options, found)
    tools = Tools(os.path.join(build, "kelto-host"), os.path.join(build, "kelto_e2e_tests"),
                  _e2e_filter("module_behaviours"), _e2e_filter("focus_module_behaviours"), options.seed,
                  options.timeout)
    work = os.path.join(build, "mutants")
    survivors = os.path.join(build, "survivors")
    for folder in (work, survivors):
        shutil.rmtree(folder, ignore_errors=True)
    _check_unmutated(tools, flavours, os.path.join(work, "unmutated"))
    print(f"mutate: {len(found)} mutants found; trying {len(chosen)} on {options.jobs} jobs", flush=True)

    done = []

    def attempt(mutant):
        folder = os.path.join(work, str(mutant.number))
        mutant_build = MutantBuild(ROOT, flavours, mutant, folder)
        verdict = verdict_of(tools, mutant_build) if mutant_build.build() else Verdict("refused",
                                                                                    detail=mutant_build.error)
        if verdict.outcome == "survived":
            report.write_patch(ROOT, mutant, survivors)
        if not options.keep:
            shutil.rmtree(folder, ignore_errors=True)
        done.append((mutant, verdict))
        said = verdict.outcome
        if verdict.outcome == "killed":
            said += f" by {verdict.stage} ({verdict.flavour}{', ' + verdict.how if verdict.how != 'failed' else ''})"
        print(f"[{len(done):>4}/{len(chosen)}] #{mutant.number:<5} {said:38} {mutant.path}:{mutant.line}  "
              f"{mutant.change()}", flush=True)
        return mutant, verdict

    started = time.monotonic()
    with ThreadPoolExecutor(max_workers=options.jobs) as pool:
        results = list(pool.map(attempt, chosen))
    seconds = time.monotonic() - started

    report.write_tsv(os.path.join(build, "results.tsv"), results)
    report.write_tsv(os.path.join(build, "survivors.tsv"), [r for r in results if r[1].outcome == "survived"])
    for line in report.summary(results, len(found), options.seed, seconds, options.jobs):
        print(line)
    print(f"mutate: every result in {os.path.relpath(os.path.join(build, 'results.tsv'), ROOT)}, the survivors in "
          f"{os.path.relpath(os.path.join(build, 'survivors.tsv'), ROOT)} and their patches in "
          f"{os.path.relpath(survivors, ROOT)}/")
    return 0


if __name__ == "__main__":
    sys.exit(main())
