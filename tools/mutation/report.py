"""The figures of a run, and its results as tab-separated lists: every
mutant tried (results.tsv) and the survivors alone (survivors.tsv), with a
patch of each survivor beside them."""

import difflib
import os

from verdict import STAGES

COLUMNS = ("number", "outcome", "stage", "how", "flavour", "file", "line", "column", "kind", "original",
           "replacement", "detail")


def _cell(value):
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def _row(mutant, verdict):
    return [mutant.number, verdict.outcome, verdict.stage, verdict.how, verdict.flavour, mutant.path, mutant.line,
            mutant.column, mutant.kind, mutant.original, mutant.replacement, verdict.detail]


def write_tsv(path, results):
    with open(path, "w") as out:
        out.write("\t".join(COLUMNS) + "\n")
        for mutant, verdict in results:
            out.write("\t".join(_cell(value) for value in _row(mutant, verdict)) + "\n")


def write_patch(root, mutant, folder):
    with open(os.path.join(root, mutant.path), errors="replace") as original:
        before = original.read().splitlines(keepends=True)
    with open(os.path.join(root, mutant.path), "rb") as original:
        text = original.read()
    after = (text[:mutant.start] + mutant.replacement.encode() + text[mutant.end:]).decode(errors="replace")
    patch = difflib.unified_diff(before, after.splitlines(keepends=True), "a/" + mutant.path, "b/" + mutant.path)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, f"{mutant.number}.diff"), "w") as out:
        out.writelines(patch)


def _percent(part, whole):
    return f"{100.0 * part / whole:.1f} %" if whole else "-"


def _hows(verdicts):
    counts = {how: sum(1 for v in verdicts if v.how == how) for how in ("time-out", "crash")}
    return ", ".join(f"{count} by {how}" for how, count in counts.items() if count)


def summary(results, drawn_from, seed, seconds, jobs):
    """The closing lines of a run."""
    verdicts = [verdict for _, verdict in results]
    refused = [v for v in verdicts if v.outcome == "refused"]
    killed = [v for v in verdicts if v.outcome == "killed"]
    survived = [(m, v) for m, v in results if v.outcome == "survived"]
    built = len(killed) + len(survived)
    lines = [f"mutate: {len(results)} mutants of {drawn_from} (seed {seed}): "
             f"{len(refused)} refused by the compiler, {built} built"]
    lines.append(f"killed {len(killed)}")
    for stage in STAGES:
        by_stage = [v for v in killed if v.stage == stage]
        hows = _hows(by_stage)
        lines.append(f"  by {stage + ':':12} {len(by_stage):5}" + (f"  ({hows})" if hows else ""))
    lines.append(f"survived {len(survived)}")
    for mutant, _ in sorted(survived, key=lambda result: result[0].number):
        lines.append(f"  #{mutant.number:<5} {mutant.path}:{mutant.line}:{mutant.column}  {mutant.kind}  "
                     f"{mutant.change()}")
    by_validate = sum(1 for v in killed if v.stage == "validate")
    lines.append(f"score: {len(killed)} of {built} killed ({_percent(len(killed), built)}); "
                 f"validate alone {by_validate} ({_percent(by_validate, built)})")
    if results:
        lines.append(f"time: {seconds:.0f} s for {len(results)} mutants on {jobs} jobs, "
                     f"{seconds / len(results):.1f} s a mutant")
    return lines
