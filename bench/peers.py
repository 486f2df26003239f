#!/usr/bin/env python3
"""Zendral beside other editors, each launched with the same page under Xvfb.

For every editor and page: the time until the window shows the page and the editor's CPU goes
quiet, net of the editor's own start with an empty page; the peak memory (VmHWM) over that
empty start; the CPU time per character while xdotool types mid-page; the time a Ctrl+S takes
until the file is written, beside a raw write + fsync of the same bytes. Each figure is the
median of a few launches; the ratios printed are Zendral's to each editor, from this run.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

TICK = 1.0 / os.sysconf("SC_CLK_TCK")
TYPED = ("probando el editor con una frase que se repite " * 7)[:300]
# CPU quiet: no more than this many clock ticks spent in this many seconds (a caret's blink
# over a huge paragraph costs a few).
QUIET_TICKS = 5
QUIET_SECONDS = 1.0
SAMPLE = 0.05

launched = []  # process groups started here, ended on the way out


def log(message):
    print(message, file=sys.stderr, flush=True)


def cpu_ticks(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError):
        return None


def peak_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def xdotool(display, *arguments, timeout=10, raw=False):
    try:
        done = subprocess.run(["xdotool", *arguments], capture_output=True, text=True,
                              timeout=timeout, env={**os.environ, "DISPLAY": display})
        return done.stdout.rstrip("\n") if raw else done.stdout.split()
    except subprocess.TimeoutExpired:
        return "" if raw else []


def visible_windows(display, pid, name=None):
    """The process's mapped windows, those whose title matches the regex name if given
    (xdotool itself ignores --name beside --pid)."""
    windows = xdotool(display, "search", "--onlyvisible", "--pid", str(pid))
    if name is None:
        return windows
    return [w for w in windows
            if re.search(name, xdotool(display, "getwindowname", w, raw=True))]


def smallest_of_several(display, pid):
    """The smallest of the process's visible windows when it shows more than one."""
    windows = visible_windows(display, pid)
    if len(windows) < 2:
        return None
    def area(window):
        size = re.search(r"Geometry: (\d+)x(\d+)",
                         xdotool(display, "getwindowgeometry", window, raw=True))
        return int(size.group(1)) * int(size.group(2)) if size else 1 << 30
    return min(windows, key=area)


def wait_quiet(pid, deadline, since=None):
    """Waits until the process spends at most QUIET_TICKS in QUIET_SECONDS. Returns when its
    last busy stretch ended (the start of that quiet second, not before since), or None at the
    deadline or when the process is gone."""
    samples = []
    while time.monotonic() < deadline:
        ticks = cpu_ticks(pid)
        if ticks is None:
            return None
        now = time.monotonic()
        samples.append((now, ticks))
        if now - samples[0][0] >= QUIET_SECONDS:
            first = next(s for s in samples if s[0] >= now - QUIET_SECONDS)
            if ticks - first[1] <= QUIET_TICKS:
                return max(first[0], since or 0)
            samples = [s for s in samples if s[0] >= now - 2 * QUIET_SECONDS]
        time.sleep(SAMPLE)
    return None


class Editor:
    def __init__(self, name, command, window_name, goto=None):
        self.name = name
        self.command = command          # (path, line, home) -> argv
        self.window_name = window_name  # (path) -> regex naming the window showing it
        self.goto = goto                # (display, line): puts the caret on line, if not argv


def make_editors(build, wanted):
    def zendral_goto(display, line):
        xdotool(display, "key", "alt+l")
        time.sleep(0.3)
        xdotool(display, "type", "--delay", "20", str(line))
        xdotool(display, "key", "Return")

    editors = {
        "zendral": Editor("Zendral", lambda path, line, home: [f"{build}/src/zendral", path],
                          lambda path: r"^Zendral - \[" + re.escape(path) + r"\]$",
                          zendral_goto),
        "bare": Editor("bare QPlainTextEdit",
                       lambda path, line, home: [f"{build}/bench/zendral_bareviewer",
                                                 f"+{line}", path],
                       lambda path: "^" + re.escape(os.path.basename(path)) + " - bareviewer$"),
        "geany": Editor("geany",
                        lambda path, line, home: ["geany", "-i", "-c", f"{home}/geany",
                                                  f"--line={line}", path],
                        lambda path: "^" + re.escape(os.path.basename(path))),
        "kate": Editor("kate",
                       lambda path, line, home: ["kate", "-n", "-l", str(line), path],
                       lambda path: "^" + re.escape(os.path.basename(path))),
    }
    return [editors[name] for name in ["zendral", "bare", *wanted]]


def end_group(process):
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=5)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        pass
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        pass
    if process in launched:
        launched.remove(process)


def environment(display, home):
    env = {key: value for key, value in os.environ.items()
           if not key.startswith(("XDG_", "DBUS_", "QT_", "WAYLAND", "SUDO_", "KDESU"))}
    runtime = os.path.join(home, "run")
    for folder in ("config", "data", "cache", "run", "geany"):
        os.makedirs(os.path.join(home, folder), mode=0o700, exist_ok=True)
    env.update(DISPLAY=display, HOME=home, XDG_CONFIG_HOME=f"{home}/config",
               XDG_DATA_HOME=f"{home}/data", XDG_CACHE_HOME=f"{home}/cache",
               XDG_RUNTIME_DIR=runtime, NO_AT_BRIDGE="1", QT_QPA_PLATFORM="xcb")
    return env


def raw_write_ms(data, path):
    start = time.monotonic()
    with open(path, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    return (time.monotonic() - start) * 1000


def file_state(path):
    try:
        st = os.stat(path)
        return (st.st_ino, st.st_size, st.st_mtime_ns)
    except OSError:
        return None


def launch(editor, display, path, line, work, timeout, measure_typing):
    """One launch of an editor with a page. Returns a dict of figures (some may be missing)."""
    home = tempfile.mkdtemp(prefix="home-", dir=work)
    figures = {}
    start = time.monotonic()
    with open(os.path.join(work, "editor.log"), "ab") as output:
        process = subprocess.Popen(editor.command(path, line, home),
                                   env=environment(display, home), stdout=output,
                                   stderr=output, start_new_session=True)
    launched.append(process)
    try:
        deadline = start + timeout
        name = editor.window_name(path)
        shown = None
        window = None
        last_ticks, still_since = None, time.monotonic()
        while time.monotonic() < deadline and process.poll() is None:
            found = visible_windows(display, process.pid, name)
            if found:
                shown, window = time.monotonic(), found[0]
                break
            # A notice put up before the window names the page (Zendral's long-line notice)
            # holds it back: once the editor is idle, the notice is clicked away.
            ticks = cpu_ticks(process.pid)
            if ticks != last_ticks:
                last_ticks, still_since = ticks, time.monotonic()
            elif time.monotonic() - still_since > 2 * QUIET_SECONDS:
                notice = smallest_of_several(display, process.pid)
                if notice:
                    xdotool(display, "windowfocus", "--sync", notice)
                    xdotool(display, "key", "Return")
                    figures["notice"] = 1
                    still_since = time.monotonic()
            time.sleep(SAMPLE)
        if shown is None:
            code = process.poll()
            figures["failed"] = "no window" + (f", ended with {code}" if code is not None else "")
            return figures
        quiet = wait_quiet(process.pid, deadline, since=shown)
        if quiet is None:
            figures["open_bound"] = time.monotonic() - start
            return figures
        figures["open"] = quiet - start
        figures["peak"] = peak_kb(process.pid)
        # A notice over the window (a long line, say) is clicked away as a user would.
        for other in visible_windows(display, process.pid):
            if other != window:
                xdotool(display, "windowfocus", "--sync", other)
                xdotool(display, "key", "Return")
                figures["notice"] = 1
        if not measure_typing:
            return figures

        xdotool(display, "windowfocus", "--sync", window)
        if editor.goto:
            editor.goto(display, line)
        idle_from = time.monotonic()
        if wait_quiet(process.pid, time.monotonic() + min(timeout, 120)) is None:
            # Typed all the same: what it costs is then a bound.
            figures["busy"] = 1
        idle_ticks = cpu_ticks(process.pid)
        time.sleep(1.0)
        idle_rate = 0 if figures.get("busy") else (
            (cpu_ticks(process.pid) - idle_ticks) / max(time.monotonic() - idle_from, 1.0))

        before = cpu_ticks(process.pid)
        typed_from = time.monotonic()
        xdotool(display, "type", "--delay", "12", TYPED, timeout=60)
        done = wait_quiet(process.pid, time.monotonic() + min(timeout, 120))
        spent = cpu_ticks(process.pid) - before
        spent -= idle_rate * (time.monotonic() - typed_from)
        per_char = max(spent, 0) * TICK * 1000 / len(TYPED)
        if done is None or figures.get("busy"):
            figures["char_bound"] = per_char
            return figures
        figures["char"] = per_char

        saved_before = file_state(path)
        save_from = time.monotonic()
        xdotool(display, "key", "ctrl+s")
        last_change = None
        state = saved_before
        save_deadline = save_from + min(timeout, 120)
        while time.monotonic() < save_deadline:
            now_state = file_state(path)
            if now_state != state:
                state, last_change = now_state, time.monotonic()
            elif last_change and time.monotonic() - last_change > 0.5:
                break
            time.sleep(0.005)
        if last_change is None:
            figures["failed"] = "not saved"
            return figures
        figures["save"] = (last_change - save_from) * 1000
        with open(path, "rb") as saved:
            data = saved.read()
        figures["typed_seen"] = TYPED[:40].encode() in data
        figures["typed_at"] = round(data.find(TYPED[:40].encode()) / max(len(data), 1), 2)
        figures["raw"] = statistics.median(
            raw_write_ms(data, os.path.join(work, "crudo.html")) for _ in range(3))
        return figures
    finally:
        end_group(process)
        shutil.rmtree(home, ignore_errors=True)


def middle_line(path):
    with open(path, "rb") as page:
        data = page.read()
    return max(1, data.count(b"\n") // 2)


def start_xvfb():
    """An X server of this run's own, on a display number no other run on the machine holds
    (Xvfb's own choice, -displayfd, came back with displays it then could not serve)."""
    for number in range(200 + os.getpid() % 500, 800):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        display = f":{number}"
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        launched.append(xvfb)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and xvfb.poll() is None:
            if xdotool(display, "getdisplaygeometry", timeout=5):
                return xvfb, display
            time.sleep(0.2)
        end_group(xvfb)
    sys.exit("Xvfb did not start")


def median_of(runs, key):
    values = [run[key] for run in runs if run.get(key) is not None]
    return statistics.median(values) if values else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--editors", default="geany")
    parser.add_argument("rest", nargs="*")
    options = parser.parse_args()
    sizes, runs, kinds = [1, 10], 3, ["crlf", "lf"]
    for argument in options.rest:
        if argument.startswith("sizes="):
            sizes = [int(s) for s in argument[6:].split(",") if s]
        elif argument.startswith("runs="):
            runs = max(1, int(argument[5:]))
        elif argument.startswith("kinds="):
            kinds = [k for k in argument[6:].split(",") if k]
    wanted = [e for e in options.editors.split(",") if e and e != "geany"]
    wanted = ["geany", *dict.fromkeys(wanted)]
    editors = make_editors(options.build, wanted)

    work = tempfile.mkdtemp(prefix="zendral-peers-")
    xvfb = None
    try:
        env = {**os.environ, "QT_QPA_PLATFORM": "offscreen"}
        subprocess.run([f"{options.build}/bench/zendral_bench", "write-pages", work,
                        "sizes=" + ",".join(map(str, sizes))], check=True, env=env,
                       stdout=subprocess.DEVNULL)
        xvfb, display = start_xvfb()
        pages = [(f"{size} MB {'CR LF' if kind == 'crlf' else 'LF'}",
                  os.path.join(work, f"{kind}-{size}mb.html")) for size in sizes for kind in kinds]
        results = {}
        for editor in editors:
            empty = os.path.join(work, "vacia.html")
            starts = [launch(editor, display, empty, 1, work, 60, False) for _ in range(runs)]
            base_open, base_peak = median_of(starts, "open"), median_of(starts, "peak")
            log(f"{editor.name}: empty start {base_open and round(base_open, 2)} s, "
                f"{base_peak and base_peak // 1024} MB")
            for label, path in pages:
                original = open(path, "rb").read()
                size_mb = len(original) / 2**20
                line = middle_line(path)
                timeout = 60 + 30 * size_mb
                launches = []
                for _ in range(runs):
                    with open(path, "wb") as page:
                        page.write(original)
                    figures = launch(editor, display, path, line, work, timeout, True)
                    if figures.get("failed", "").startswith("no window"):
                        log(f"  {editor.name} {label}: {figures}, once more")
                        figures = launch(editor, display, path, line, work, timeout, True)
                    log(f"  {editor.name} {label}: {figures}")
                    launches.append(figures)
                    # An editor that ran out of time once would only do so again.
                    if any(k.endswith("_bound") for k in figures):
                        break
                with open(path, "wb") as page:
                    page.write(original)
                row = {}
                open_s = median_of(launches, "open")
                if open_s is not None and base_open is not None:
                    row["open"] = max(open_s - base_open, 0.0)
                elif median_of(launches, "open_bound") is not None:
                    row["open_bound"] = median_of(launches, "open_bound")
                peak = median_of(launches, "peak")
                if peak is not None and base_peak is not None:
                    row["memory"] = (peak - base_peak) / 1024 / size_mb
                for key in ("char", "char_bound", "save", "raw"):
                    row[key] = median_of(launches, key)
                if any(run.get("typed_seen") is False for run in launches):
                    row["unseen"] = True
                if any(run.get("notice") for run in launches):
                    row["notice"] = True
                if any(run.get("failed") for run in launches):
                    row["failed"] = next(run["failed"] for run in launches if run.get("failed"))
                results[(editor.name, label)] = row
        print_table(editors, pages, results, runs)
    finally:
        for process in list(launched):
            end_group(process)
        if not os.environ.get("KEEP"):
            shutil.rmtree(work, ignore_errors=True)


def cell(row, key, fmt):
    if row is None:
        return "—"
    if row.get(key) is not None:
        return fmt(row[key])
    if row.get(key + "_bound") is not None:
        return "> " + fmt(row[key + "_bound"]) + " (unfinished)"
    return "—"


def print_table(editors, pages, results, runs):
    measures = [
        ("open until shown and quiet, net of the empty start (s)", "open", lambda v: f"{v:.2f}"),
        ("peak memory over the empty start (× the file)", "memory", lambda v: f"{v:.1f}"),
        ("CPU per typed character, mid-page (ms)", "char", lambda v: f"{v:.2f}"),
        ("save, Ctrl+S until written (ms)", "save", lambda v: f"{v:.0f}"),
    ]
    names = [e.name for e in editors]
    others = names[1:]
    print(f"Under Xvfb, each figure the median of {runs} launches; ratios are Zendral's.\n")
    print("| page | measure | " + " | ".join(names) + " | "
          + " | ".join(f"Zendral ÷ {n}" for n in others) + " |")
    print("|---|---|" + "---|" * (len(names) + len(others)))
    for label, _ in pages:
        for title, key, fmt in measures:
            cells, values = [], []
            for name in names:
                row = results.get((name, label))
                text = cell(row, key, fmt)
                if key == "save" and row and row.get("raw") and row.get("save"):
                    text += f" (raw {row['raw']:.0f}, {row['save'] / row['raw']:.1f}×)"
                if key == "char" and row and row.get("unseen"):
                    text += " (typing not in the saved file)"
                if key == "open" and row and row.get("notice"):
                    text += " (a notice shown)"
                if key == "open" and row and row.get("failed"):
                    text += f" ({row['failed']})"
                cells.append(text)
                values.append(row.get(key) if row else None)
            ratios = []
            for value in values[1:]:
                ours = values[0]
                ratios.append(f"{ours / value:.2f}×" if ours is not None and value else "—")
            print(f"| {label} | {title} | " + " | ".join(cells) + " | " + " | ".join(ratios) + " |")
    sys.stdout.flush()


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
