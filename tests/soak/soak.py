#!/usr/bin/env python3
"""Long attacks on a real Quorvane, kept beside the test suite (they take
minutes). Each runs the built program in fresh, isolated home folders and
prints one verdict line, "NAME PASS: figures" or "NAME FAIL: figures", with
what went wrong on standard error. tools/soak.sh runs them all, or those named.

    soak.py kill [CYCLES]       SIGKILL at random moments while a switch is
                                flipped (SOAK_CYCLES, else 100)
    soak.py socket [SAMPLES]    idle, half-line, oversized, reconnecting and 16
                                held clients, then SAMPLES switches read back
                                under that load (SOAK_SAMPLES, else 200)
    soak.py requests [SECONDS]  10 requests a second, alerts included
                                (SOAK_SECONDS, else 300)
    soak.py files [KINDS]       a FIFO, a folder, a link to /dev/zero and a
                                200 MB sparse file in place of each file the
                                program keeps (KINDS: fifo,folder,zero,sparse)
    soak.py long [MINUTES]      ten toggles on and simulated input, 20 events
                                a second (SOAK_MINUTES, else 5)
    soak.py x11 [CASES]         under Xvfb and openbox: typing reaches another
                                window after SIGKILL, SIGSTOP and a stopped
                                main thread with each tweak that holds input;
                                Dim's gamma after a kill (CASES: lock,blackout,
                                colorpicker,extracttext,emoji,keystrokes,
                                autoclick,dim); skipped without the X tools
    soak.py helpers [ROUNDS]    random, malformed and oversized records to the
                                camera and sound helpers, each dropped at a
                                random moment: every one leaves by itself, with
                                status 0 or 1 (SOAK_ROUNDS, else 300)

The program is build/default/src/quorvane unless QUORVANE names another.
The home folders of a failed soak are kept; SOAK_KEEP=1 keeps them all.
"""
import ctypes
import json
import os
import queue
import random
import re
import select
import shutil
import signal
import socket
import stat
import statistics
import string
import subprocess
import sys
import tempfile
import threading
import time
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAM = os.environ.get("QUORVANE", os.path.join(ROOT, "build/default/src/quorvane"))
BUNDLE = "com.tarnvell.Quorvane"

# Figures of the program these soaks hold it to.
SAVE_DELAY = 1.0           # a change is on disk at most this long after it (Persistor)
MARGIN = 0.2               # for the scheduler of a busy machine
REQUEST_LIMIT = 64 * 1024  # the longest request line (ControlServer::maxRequestBytes)
CONNECTIONS = 16           # connections served at once (ControlServer::maxConnections)
REQUEST_DEADLINE = 5.0     # for a request line to arrive (ControlServer::requestTimeout)
SET_DEADLINE = 10.0        # for the main thread to start a "set" (ControlCommandDefinition)
WATCHDOG = 2.0             # a stalled main thread's input holds end after this (watchdogLimit)

# What the caller's session says that must not reach a soak's program.
FOREIGN = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME",
           "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "XDG_SESSION_ID", "XDG_SESSION_TYPE",
           "DESKTOP_SESSION", "WAYLAND_DISPLAY", "QUORVANE_DESKTOP", "QUORVANE_SIM_HOME",
           "QUORVANE_SYSTEM_EVENTS", "QUORVANE_PUBLIC_IP_URL"}

# A save's temporary: "." + the file's name + "." + six characters of mkostemp.
TEMPORARY = re.compile(r"^\..+\.[A-Za-z0-9]{6}$")


class Failure(Exception):
    """The soak cannot go on; its verdict is FAIL with this reason."""


class TimedOut(Exception):
    pass


def note(text):
    print("  " + text, file=sys.stderr, flush=True)


# Every process and home folder a soak made, ended and removed when it ends.
STARTED = []
HOMES = []


def spawn(arguments, **options):
    process = subprocess.Popen(arguments, **options)
    STARTED.append(process)
    return process


def end_started():
    """Ends what is still running: asked first (Xvfb removes its lock file),
    then killed."""
    running = [process for process in STARTED if process.poll() is None]
    for process in running:
        process.send_signal(signal.SIGCONT)
        process.terminate()
    for process in running:
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    STARTED.clear()


def new_home():
    home = tempfile.mkdtemp(prefix="quorvane-soak-")
    HOMES.append(home)
    return home


def tidy_homes(keep):
    if keep or os.environ.get("SOAK_KEEP") == "1":
        if HOMES:
            note("kept: " + " ".join(HOMES))
    else:
        for home in HOMES:
            shutil.rmtree(home, ignore_errors=True)
    HOMES.clear()


def eventually(check, within, every=0.05):
    """The first true answer of `check` within `within` seconds, else None."""
    end = time.monotonic() + within
    while True:
        answer = check()
        if answer:
            return answer
        if time.monotonic() >= end:
            return None
        time.sleep(every)


def encode(payload):
    return (json.dumps(payload) + "\n").encode()


def connect(path, timeout=15):
    """A client connected to the socket at `path`. A full backlog is waited
    out, as by a blocking connect, but not for longer than `timeout`."""
    client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    client.settimeout(timeout)
    end = time.monotonic() + timeout
    while True:
        try:
            client.connect(path)
            return client
        except BlockingIOError:
            if time.monotonic() >= end:
                client.close()
                raise
            time.sleep(0.01)
        except OSError:
            client.close()
            raise


def read_line(client, timeout):
    """One whole answer line, or None when the connection closed or the
    time ran out before its end."""
    client.settimeout(timeout)
    answer = b""
    try:
        while not answer.endswith(b"\n"):
            chunk = client.recv(65536)
            if not chunk:
                break
            answer += chunk
    except (socket.timeout, OSError):
        pass
    return answer if answer.endswith(b"\n") else None


def parse_answer(line):
    """The answer when it is one JSON object with a true or false "ok"."""
    if line is None:
        return None
    try:
        value = json.loads(line)
    except ValueError:
        return None
    return value if isinstance(value, dict) and isinstance(value.get("ok"), bool) else None


def folder_files(folder):
    found = []
    for top, _, names in os.walk(folder):
        found.extend(os.path.join(top, name) for name in names)
    return found


class Session:
    """One Quorvane in a home folder of its own, with nothing of the caller's
    session: no display (unless given), no bus, no XDG folders elsewhere."""

    def __init__(self, home=None, environment=None):
        self.home = home or new_home()
        run = os.path.join(self.home, "run")
        os.makedirs(run, mode=0o700, exist_ok=True)
        os.chmod(run, 0o700)
        self.env = {name: value for name, value in os.environ.items() if name not in FOREIGN}
        self.env.update(HOME=self.home, XDG_RUNTIME_DIR=run, DISPLAY="",
                        QT_QPA_PLATFORM="offscreen", QUORVANE_AUDIO="silent",
                        DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent",
                        DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent")
        self.env.update(environment or {})
        self.socket = os.path.join(run, "quorvane", "control.sock")
        self.data = os.path.join(self.home, ".local/share", BUNDLE)
        self.records = os.path.join(self.data, "Default")
        self.config = os.path.join(self.home, ".config", BUNDLE)
        self.state = os.path.join(self.home, ".local/state", BUNDLE)
        self.cache = os.path.join(self.home, ".cache", BUNDLE)
        self.errors = os.path.join(self.home, "stderr.txt")
        self.process = None

    def folders(self):
        return [self.data, self.records, self.config, self.state, self.cache]

    def start(self, timeout=15):
        """Starts the program; the seconds until it said it is running."""
        started = time.monotonic()
        with open(self.errors, "ab") as errors:
            self.process = spawn([PROGRAM], env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=errors, text=True)
        lines = queue.Queue()

        def drain(stream):
            for line in stream:
                lines.put(line)
            lines.put(None)

        threading.Thread(target=drain, args=(self.process.stdout,), daemon=True).start()
        try:
            line = lines.get(timeout=timeout)
        except queue.Empty:
            line = "(nothing within %d s)" % timeout
        if line is None or line.strip() != "Quorvane is running.":
            if self.process.poll() is None:
                self.process.kill()
            self.process.wait()
            raise Failure("the program did not start: %r, exit %s; see %s"
                          % (line, self.process.returncode, self.errors))
        return time.monotonic() - started

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def exchange(self, data, timeout=15):
        """Sends raw bytes; the answer line, or None when none came."""
        try:
            client = connect(self.socket, timeout)
        except OSError:
            return None
        with client:
            try:
                client.sendall(data)
            except OSError:
                pass  # refused before it was read: the reason may be waiting
            return read_line(client, timeout)

    def ask(self, payload, timeout=15):
        return parse_answer(self.exchange(encode(payload), timeout))

    def wait_ready(self, within=10):
        if not eventually(lambda: (self.ask({"command": "ping"}, 5) or {}).get("ok"), within, 0.1):
            raise Failure("no ping answered within %d s of the start" % within)

    def is_on(self, tweak_id, within=15):
        """The switch as `list` tells it, asked again while refused."""
        end = time.monotonic() + within
        while time.monotonic() < end:
            answer = self.ask({"command": "list"}, 10)
            if answer and answer["ok"]:
                for tweak in answer.get("tweaks", []):
                    if tweak.get("id") == tweak_id:
                        return bool(tweak.get("on"))
                raise Failure("list has no " + tweak_id)
            time.sleep(0.05)
        raise Failure("list was not answered within %d s" % within)

    def switch(self, tweak_id, on):
        """Switches a toggle; its answer (None when there was none)."""
        return self.ask({"command": "set", "id": tweak_id, "on": on})

    def command(self, *arguments, timeout=30):
        return subprocess.run([PROGRAM, *arguments], env=self.env, capture_output=True,
                              text=True, timeout=timeout).returncode

    def status(self, field):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
        return 0

    def rss_kib(self):
        return self.status("VmRSS")

    def threads(self):
        return self.status("Threads")

    def fds(self):
        return len(os.listdir("/proc/%d/fd" % self.process.pid))

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.process.pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self, sig=signal.SIGTERM, timeout=30):
        """Sends `sig` and waits for the end; the seconds it took."""
        started = time.monotonic()
        self.process.send_signal(sig)
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise Failure("%s did not end the program within %d s"
                          % (signal.Signals(sig).name, timeout))
        return time.monotonic() - started


PTRACE_DETACH, PTRACE_SEIZE, PTRACE_INTERRUPT = 17, 0x4206, 0x4207
WALL = 0x40000000


class MainThreadStopped:
    """The program's main thread stopped alone, its other threads running on,
    as when the main thread stops answering: ptrace's interrupt of that one
    thread, let go on leaving."""

    def __init__(self, pid):
        self.pid = pid
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_long, ctypes.c_void_p,
                                     ctypes.c_void_p]
        self.libc.ptrace.restype = ctypes.c_long

    def __enter__(self):
        if self.libc.ptrace(PTRACE_SEIZE, self.pid, None, None) != 0:
            raise Failure("cannot trace the main thread: %s" % os.strerror(ctypes.get_errno()))
        self.libc.ptrace(PTRACE_INTERRUPT, self.pid, None, None)
        os.waitpid(self.pid, WALL)
        return self

    def __exit__(self, *_):
        self.libc.ptrace(PTRACE_DETACH, self.pid, None, None)


def temporaries(folders, older_than=None):
    found = set()
    for folder in folders:
        if not os.path.isdir(folder):
            continue
        for name in os.listdir(folder):
            path = os.path.join(folder, name)
            if TEMPORARY.match(name) and os.path.isfile(path) and not os.path.islink(path):
                if older_than is None or os.lstat(path).st_mtime < older_than:
                    found.add(path)
    return found


def torn_files(session):
    """The program's JSON files that do not parse."""
    torn = []
    for path in [os.path.join(session.records, name) for name in
                 (os.listdir(session.records) if os.path.isdir(session.records) else [])] + [
                     os.path.join(session.config, "UserDefaults.json"),
                     os.path.join(session.state, "restore.json")]:
        if not path.endswith(".json") or not os.path.isfile(path):
            continue
        try:
            with open(path) as record:
                json.load(record)
        except ValueError:
            torn.append(path)
    return torn


def set_aside(session):
    return [path for folder in (session.records, session.config, session.state)
            for path in (folder_files(folder) if os.path.isdir(folder) else [])
            if ".undecodable-" in os.path.basename(path)]


# --- kill -------------------------------------------------------------------


def kill_soak(cycles):
    """Switches a persisted toggle and kills the program at random moments,
    some of them as the save is due and some after a quiet spell past the
    save delay: no change older than that may be lost, no record torn, and
    after a clean start no save's temporary may be left (stale ones planted
    in each folder it saves into included)."""
    session = Session()
    tweak = "SnapWindowsTask"
    pstate = os.path.join(session.records, "pState.json")

    def stored():
        try:
            with open(pstate) as record:
                return bool(json.load(record).get("snapsWindows"))
        except FileNotFoundError:
            return False
        except ValueError:
            return None

    lost = torn = refused = checked = changes = at_save = 0
    seen = set()
    state = False
    for cycle in range(cycles):
        session.start()
        last_change = None
        until = time.monotonic() + random.uniform(0.05, 1.5)
        while time.monotonic() < until:
            answer = session.switch(tweak, not state)
            if answer and answer["ok"]:
                state = bool(answer.get("on"))
                last_change = time.monotonic()
                changes += 1
            else:
                refused += 1
            time.sleep(random.uniform(0.0, 0.6))
        # The kill comes at any moment, or when the save is due (0.3 s after
        # the last change), or after a quiet spell when it must be on disk.
        when = random.random()
        if when < 0.45:
            time.sleep(random.uniform(SAVE_DELAY + MARGIN, SAVE_DELAY + 0.6))
        elif when < 0.7 and last_change is not None:
            at_save += 1
            time.sleep(max(0.0, last_change + random.uniform(0.29, 0.36) - time.monotonic()))
        killed_at = time.monotonic()
        session.stop(signal.SIGKILL)
        for path in torn_files(session):
            torn += 1
            note("cycle %d: torn %s" % (cycle, path))
        seen |= temporaries(session.folders())
        on_disk = stored()
        if last_change is not None and killed_at - last_change > SAVE_DELAY + MARGIN:
            checked += 1
            if on_disk != state:
                lost += 1
                note("cycle %d: switched to %s %.2f s before the kill, stored %s"
                     % (cycle, state, killed_at - last_change, on_disk))
        state = bool(on_disk)

    # What a kill between a save's write and its rename leaves, in each
    # folder the program saves into; all older than the next start.
    planted = []
    for folder, name in ((session.records, ".pState.json.Soak01"),
                         (session.state, ".restore.json.Soak02"),
                         (session.config, ".UserDefaults.json.Soak03")):
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        with open(path, "w") as temporary:
            temporary.write('{"half": ')
        os.utime(path, (time.time() - 60, time.time() - 60))
        planted.append(path)
    started = time.time()
    session.start()
    session.wait_ready()
    time.sleep(SAVE_DELAY + MARGIN)
    stale = temporaries(session.folders(), older_than=started)
    loaded = session.is_on(tweak)
    session.stop()
    aside = set_aside(session)
    for path in sorted(stale):
        note("left after a clean start: " + path)
    for path in aside:
        note("set aside: " + path)
    if loaded != state:
        note("the record says %s, the restarted program %s" % (state, loaded))
    planted_left = [os.path.relpath(p, session.home) for p in planted if p in stale]
    ok = lost == 0 and torn == 0 and not stale and not aside and loaded == state
    return ok, ("%d cycles, %d changes (%d refused), %d kills as the save was due; %d kills "
                "after a quiet spell past the %.1f s save delay: %d changes lost; %d torn "
                "records, %d set aside; %d temporaries seen after kills, %d stale left after a "
                "clean start (%d of 3 planted: %s)"
                % (cycles, changes, refused, at_save, checked, SAVE_DELAY, lost, torn,
                   len(aside), len(seen), len(stale), len(planted_left),
                   ", ".join(planted_left) or "none"))


# --- socket -----------------------------------------------------------------


def hold(session, count, half_lines=False):
    """Connections that send nothing, or every other one half a request."""
    holders = []
    for index in range(count):
        holder = connect(session.socket)
        if half_lines and index % 2:
            holder.sendall(b'{"command":"pi')
        holders.append(holder)
    return holders


def padded(payload, size):
    """`payload` as a request line of exactly `size` bytes before its newline."""
    body = dict(payload, pad="")
    bare = len(json.dumps(body, separators=(",", ":")))
    body["pad"] = "x" * (size - bare)
    text = json.dumps(body, separators=(",", ":"))
    assert len(text) == size
    return text.encode() + b"\n"


def flood(session, data, timeout=10):
    """Sends `data` from a thread of its own while waiting for the answer, as
    a client that will not stop talking; the answer and its delay."""
    client = connect(session.socket, timeout)

    def send():
        try:
            client.sendall(data)
        except OSError:
            pass  # refused and closed: what the answer says

    sender = threading.Thread(target=send, daemon=True)
    started = time.monotonic()
    sender.start()
    answer = read_line(client, timeout)
    took = time.monotonic() - started
    client.close()
    sender.join(timeout)
    return parse_answer(answer), took


def socket_soak(samples):
    """Every request on the control socket answered or refused truthfully,
    whatever other clients do; a refused command not carried out, an
    answered one carried out."""
    session = Session()
    session.start()
    session.wait_ready()
    tweak = "SnapWindowsTask"
    problems = []

    def problem(text):
        problems.append(text)
        note(text)

    session.is_on(tweak)  # the first list starts the pools that read mirrored switches
    time.sleep(1)
    fds_start, threads_start = session.fds(), session.threads()

    # Pings while idle and half-line clients are held open, which the
    # server lets go once their deadline passes.
    holders = hold(session, 10, half_lines=True)
    opened = time.monotonic()
    latencies = []
    while time.monotonic() - opened < 3.0:
        sent = time.monotonic()
        answer = session.ask({"command": "ping"}, 5)
        latencies.append((time.monotonic() - sent) * 1000)
        if not (answer and answer["ok"]):
            problem("a ping beside held clients was answered %r" % answer)
    let_go = []
    for holder in holders:
        left = max(0.1, opened + REQUEST_DEADLINE + 3 - time.monotonic())
        holder.settimeout(left)
        try:
            rest = holder.recv(65536)
            let_go.append(time.monotonic() - opened)
            if rest and not parse_answer(rest):
                problem("a held client was sent %r" % rest[:200])
        except socket.timeout:
            problem("a held client was still open %.1f s after it connected"
                    % (time.monotonic() - opened))
        except OSError:
            let_go.append(time.monotonic() - opened)
        holder.close()

    # The request limit, both sides of it, and floods without a line's end.
    before = session.is_on(tweak)
    at_limit = parse_answer(session.exchange(padded({"command": "ping"}, REQUEST_LIMIT)))
    if not (at_limit and at_limit["ok"]):
        problem("a ping of exactly %d bytes was answered %r" % (REQUEST_LIMIT, at_limit))
    past = parse_answer(session.exchange(
        padded({"command": "set", "id": tweak, "on": not before}, REQUEST_LIMIT + 1)))
    if not past or past["ok"]:
        problem("a set of %d bytes was answered %r" % (REQUEST_LIMIT + 1, past))
    if session.is_on(tweak) != before:
        problem("a set refused as too long was carried out")
    flood_delays = []
    unfinished_set = b'{"command":"set","id":"%s","on":%s,"pad":"' % (
        tweak.encode(), b"false" if before else b"true")
    for data in (b"x" * (8 << 20), unfinished_set + b"y" * (4 << 20)):
        answer, took = flood(session, data)
        flood_delays.append(took)
        if not answer or answer["ok"]:
            problem("a flood of %d bytes without a line's end was answered %r"
                    % (len(data), answer))
    if session.is_on(tweak) != before:
        problem("a set in a flood was carried out")

    # Lines that are no request.
    garbage = [b"not json\n", b'{"command":"ping"\x00}\n', b"[1,2,3]\n", b'{"cmd":"ping"}\n',
               b'{"command":"nonsense"}\n', b'{"command":42}\n', b"\n", b"\xff\xfe\xfd\n",
               b'{"command":"ping"}{"command":"ping"}\n',
               b'{"command":"set","id":"%s","on":"yes"}\n' % tweak.encode(),
               b'{"command":"set","id":"%s"}\n' % tweak.encode(),
               b'{"command":"set","id":"NoSuchTask","on":true}\n',
               b'{"command":"set","id":"%s","on":1}\n' % tweak.encode()]
    for line in garbage:
        answer = parse_answer(session.exchange(line))
        if not answer or answer["ok"] or not isinstance(answer.get("error"), str):
            problem("%r was answered %r" % (line[:60], answer))
    if session.is_on(tweak) != before:
        problem("a malformed set was carried out")

    # Clients that come and go without waiting for anything.
    churned = 0
    for index in range(900):
        with connect(session.socket, 5) as client:
            try:
                if index % 3 == 1:
                    client.sendall(b'{"command":"li')
                elif index % 3 == 2:
                    client.sendall(b'{"command":"ping"}\n')
                if index % 100 == 0:
                    client.sendall(b"z" * (200 << 10))
            except OSError:
                pass
        churned += 1
    session.wait_ready()
    # A finished connection's thread is joined at the next connection.
    settled = eventually(lambda: session.ask({"command": "ping"}) and
                         session.fds() <= fds_start + 1 and
                         session.threads() <= threads_start + 1, REQUEST_DEADLINE + 3, 0.2)
    fds_churned, threads_churned = session.fds(), session.threads()
    if not settled:
        problem("after the churn: fds %d -> %d, threads %d -> %d"
                % (fds_start, fds_churned, threads_start, threads_churned))

    # Every connection taken: told so at once, nothing done.
    holders = hold(session, CONNECTIONS)
    time.sleep(0.3)
    busy_delays = []
    for _ in range(5):
        sent = time.monotonic()
        answer = session.ask({"command": "ping"}, 5)
        busy_delays.append(time.monotonic() - sent)
        if not answer or answer["ok"] or not answer.get("busy"):
            problem("a ping past %d held connections was answered %r" % (CONNECTIONS, answer))
    answer = session.switch(tweak, not before)
    if not answer or answer["ok"]:
        problem("a set past %d held connections was answered %r" % (CONNECTIONS, answer))
    holders.pop().close()
    freed = eventually(lambda: (session.ask({"command": "ping"}, 2) or {}).get("ok"), 2.0, 0.02)
    if not freed:
        problem("no ping answered within 2 s of a held connection closing")
    for holder in holders:
        holder.close()
    if session.is_on(tweak) != before:
        problem("a set refused for too many connections was carried out")

    # A stalled main thread: a request it could not start before its
    # deadline is refused and never carried out later; one it starts late
    # is answered and carried out.
    stalls = []
    for stall, deadline in ((1.0, False), (SET_DEADLINE + 1.5, True)):
        before = session.is_on(tweak)
        sent = {}

        def send():
            started = time.monotonic()
            sent["answer"] = session.switch(tweak, not before)
            sent["took"] = time.monotonic() - started

        sender = threading.Thread(target=send, daemon=True)
        with MainThreadStopped(session.process.pid):
            sender.start()
            time.sleep(stall)
        sender.join(30)
        answer, now = sent.get("answer"), session.is_on(tweak)
        stalls.append("%.0f s: %s in %.1f s" % (stall, "answered" if answer and answer["ok"]
                                                 else "refused", sent.get("took", 0)))
        if deadline and (not answer or answer["ok"] or now != before):
            problem("a set during a %.1f s stall was answered %r; the switch went from %s to %s"
                    % (stall, answer, before, now))
        if not deadline and (not answer or not answer["ok"] or now == before):
            problem("a set during a %.1f s stall was answered %r; the switch went from %s to %s"
                    % (stall, answer, before, now))

    # Switches read back after each answer while other clients churn and
    # fill every connection now and then.
    stop_load = threading.Event()

    def churn():
        while not stop_load.is_set():
            try:
                session.exchange(random.choice([b'{"command":"ping"}\n', b'{"command":"list"}\n',
                                                b"garbage\n", b'{"command":"pi']), 2)
            except OSError:
                pass

    def fill():
        while not stop_load.is_set():
            try:
                held = hold(session, CONNECTIONS, half_lines=True)
            except OSError:
                held = []
            time.sleep(random.uniform(0.2, 0.6))
            for holder in held:
                holder.close()
            time.sleep(random.uniform(0.1, 0.4))

    load = [threading.Thread(target=churn, daemon=True) for _ in range(3)]
    load.append(threading.Thread(target=fill, daemon=True))
    for thread in load:
        thread.start()
    applied = refused = unanswered = lies = 0
    current = session.is_on(tweak)
    for _ in range(samples):
        time.sleep(random.uniform(0.0, 0.5))  # out of step with the filling
        wanted = not current
        answer = session.switch(tweak, wanted)
        now = session.is_on(tweak)
        if answer is None:
            unanswered += 1
            problem("a set was not answered (the switch is now %s)" % now)
        elif answer["ok"] and answer.get("on") == wanted and now == wanted:
            applied += 1
        elif not answer["ok"] and now == current:
            refused += 1
        else:
            lies += 1
            problem("set %s was answered %r; the switch went from %s to %s"
                    % (wanted, answer, current, now))
        current = now
    stop_load.set()
    for thread in load:
        thread.join(10)

    # Stopping never waits on a client.
    holders = hold(session, CONNECTIONS - 1, half_lines=True)
    time.sleep(0.2)
    stop_seconds = session.stop(timeout=15)
    for holder in holders:
        holder.settimeout(1)
        try:
            rest = holder.recv(65536)
        except OSError:
            rest = b""
        if rest and not parse_answer(rest):
            problem("a client held at the stop was sent %r" % rest[:200])
        holder.close()
    if stop_seconds > 3:
        problem("SIGTERM took %.1f s with %d clients held" % (stop_seconds, CONNECTIONS - 1))
    if session.process.returncode != 0:
        problem("the program exited with %s" % session.process.returncode)

    ok = not problems
    return ok, ("ping beside 10 idle and half-line clients: median %.1f ms, max %.1f ms over %d; "
                "held clients let go after %.1f-%.1f s; %d-byte request answered, %d-byte one "
                "refused; 8 MB and 4 MB floods refused in %.2f s at most; %d malformed lines "
                "refused; %d reconnecting clients, fds %d -> %d, threads %d -> %d; %d held: "
                "refused in %.2f s at most, served again %s; a set during a main-thread stall "
                "of %s; %d switches read back under load: %d applied, %d refused, "
                "%d unanswered, %d untrue; SIGTERM with %d held: %.2f s; %d problems"
                % (statistics.median(latencies), max(latencies), len(latencies),
                   min(let_go or [0]), max(let_go or [0]), REQUEST_LIMIT, REQUEST_LIMIT + 1,
                   max(flood_delays), len(garbage), churned, fds_start, fds_churned,
                   threads_start, threads_churned, CONNECTIONS, max(busy_delays),
                   "at once" if freed else "NOT within 2 s", ", ".join(stalls), samples,
                   applied, refused, unanswered, lies, CONNECTIONS - 1, stop_seconds,
                   len(problems)))


# --- requests ---------------------------------------------------------------


def request_soak(seconds):
    """Ten requests a second of every kind; RSS and open files must stay flat."""
    session = Session()
    session.start()
    session.wait_ready()
    time.sleep(3)  # past the re-applied toggles
    rss_start, fds_start = session.rss_kib(), session.fds()
    requests = [
        {"command": "ping"},
        {"command": "list"},
        {"command": "set", "id": "SnapWindowsTask", "on": True},
        {"command": "set", "id": "SnapWindowsTask", "on": False},
        {"command": "runNamed", "name": "Clear clipboard"},
        {"command": "runNamed", "name": "Get IP Address"},  # shows an alert each time
        {"command": "toggleNamed", "name": "Auto Hide Dock", "on": True},
        {"command": "nonsense"},
    ]
    sent = failed = 0
    # A minute in, past what the first uses of each kind cost.
    warm_up, rss_warm = min(60, seconds // 2), None
    began = time.monotonic()
    while time.monotonic() - began < seconds:
        if rss_warm is None and time.monotonic() - began >= warm_up:
            rss_warm = session.rss_kib()
        payload = requests[sent % len(requests)]
        answer = session.ask(payload)
        sent += 1
        if not answer or (not answer["ok"] and payload["command"] != "nonsense"):
            failed += 1
            note("%r was answered %r" % (payload, answer))
        time.sleep(max(0.0, began + sent * 0.1 - time.monotonic()))
    elapsed = time.monotonic() - began
    time.sleep(2)
    rss_end, fds_end = session.rss_kib(), session.fds()
    session.stop()
    ok = failed == 0 and rss_end - rss_start < 2048 and fds_end <= fds_start
    return ok, ("%d requests in %.0f s (%.1f a second), %d failed; RSS %d -> %d -> %d KiB "
                "(%+d, %+d after the first %d s), fds %d -> %d"
                % (sent, elapsed, sent / elapsed, failed, rss_start, rss_warm or rss_start,
                   rss_end, rss_end - rss_start, rss_end - (rss_warm or rss_start), warm_up,
                   fds_start, fds_end))


# --- files ------------------------------------------------------------------


def make_special(path, kind):
    if os.path.isdir(path) and not os.path.islink(path):
        shutil.rmtree(path)
    elif os.path.lexists(path):
        os.remove(path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if kind == "fifo":
        os.mkfifo(path, 0o600)
    elif kind == "folder":
        os.mkdir(path, 0o700)
    elif kind == "zero":
        os.symlink("/dev/zero", path)
    elif kind == "sparse":
        with open(path, "wb") as sparse:
            sparse.truncate(200 << 20)


def files_soak(kinds):
    """A FIFO, a folder, a link to /dev/zero and a 200 MB sparse file in place
    of each file the program keeps: it starts within a second, answers,
    hangs on nothing, stays small and ends on SIGTERM."""
    # What it keeps, as written by a start that switched and ran a few tweaks.
    template = Session()
    baseline = template.start()
    template.wait_ready()
    template.switch("SnapWindowsTask", True)
    template.switch("AeroShakeTask", True)
    template.ask({"command": "toggleNamed", "name": "Auto Hide Dock", "on": True})
    template.ask({"command": "runNamed", "name": "Clear clipboard"})
    template.ask({"command": "runNamed", "name": "Get IP Address"})
    time.sleep(SAVE_DELAY + MARGIN)
    template.stop()
    own = [template.data, template.config, template.state, template.cache,
           os.path.join(template.home, ".local/share/Quorvane")]
    files = set()
    for folder in own:
        for path in folder_files(folder):
            if os.path.join(template.data, "quorvane-sim") not in path and \
                    os.path.join(template.state, "run") not in path:
                files.add(os.path.relpath(path, template.home))
    # Its entries in the desktop's own files, and what other runs keep.
    for path in (os.path.join(template.home, ".config/mimeapps.list"),
                 os.path.join(template.home, ".local/share/applications", BUNDLE + ".desktop"),
                 os.path.join(template.state, "journal.jsonl.1"),
                 os.path.join(template.config, "UserDefaults.json"),
                 os.path.join(template.state, "restore.json"),
                 os.path.join(template.state, "restore.json.lock"),
                 os.path.join(template.records, "pState.json"),
                 os.path.join(template.records, "preference.json")):
        files.add(os.path.relpath(path, template.home))
    files = sorted(files)
    note("files: " + " ".join(files))

    cases = failures = 0
    starts, rss, stops = [], [], []
    for relative in files:
        for kind in kinds:
            cases += 1
            home = new_home()
            shutil.copytree(template.home, home, symlinks=True, dirs_exist_ok=True,
                            ignore=shutil.ignore_patterns("run", "stderr.txt"))
            make_special(os.path.join(home, relative), kind)
            session = Session(home)
            where = "%s as %s" % (relative, kind)
            try:
                took = session.start(timeout=10)
                starts.append(took)
                if took > 1.0:
                    raise Failure("started in %.2f s" % took)
                session.wait_ready(5)
                # Records saved, the journal and the restore log written.
                for payload in ({"command": "set", "id": "SnapWindowsTask", "on": False},
                                {"command": "toggleNamed", "name": "Auto Hide Dock", "on": True},
                                {"command": "toggleNamed", "name": "Auto Hide Dock", "on": False},
                                {"command": "runNamed", "name": "Clear clipboard"},
                                {"command": "list"}):
                    if session.ask(payload) is None:
                        raise Failure("%r was not answered" % payload)
                for arguments in (("journal",), ("restore", "--list"), ("list",)):
                    try:
                        session.command(*arguments, timeout=10)
                    except subprocess.TimeoutExpired:
                        raise Failure("quorvane %s hung" % " ".join(arguments))
                time.sleep(SAVE_DELAY + MARGIN)
                if not session.alive():
                    raise Failure("it ended by itself with %s" % session.process.returncode)
                rss.append(session.rss_kib() / 1024)
                if rss[-1] > 150:
                    raise Failure("RSS %.0f MB" % rss[-1])
                stops.append(session.stop(timeout=5))
                if session.process.returncode != 0:
                    raise Failure("exited with %s" % session.process.returncode)
            except Failure as failure:
                failures += 1
                note("%s: %s (home %s)" % (where, failure, home))
                HOMES.remove(home)  # kept for a look
                if session.alive():
                    session.process.kill()
                    session.process.wait()
            else:
                shutil.rmtree(home, ignore_errors=True)
                HOMES.remove(home)
            # Run as root, a program that writes through the link replaces
            # the device itself: stop at once and say so.
            if not stat.S_ISCHR(os.stat("/dev/zero").st_mode):
                raise SystemExit("files: %s replaced /dev/zero with a regular file; put it back "
                                 "with: rm /dev/zero && mknod -m 666 /dev/zero c 1 5" % where)
    return failures == 0, ("%d cases (%d files x %s): %d failed; start %.2f s clean, %.2f s at "
                           "most; RSS %.0f MB at most; SIGTERM %.2f s at most"
                           % (cases, len(files), "/".join(kinds), failures, baseline,
                              max(starts or [0]), max(rss or [0]), max(stops or [0])))


# --- long -------------------------------------------------------------------

# Toggles of different families, taken in this order until ten are on.
LONG_TOGGLES = ["VisualizeKeystrokeTask", "VisualizeCursorTask", "SnapWindowsTask",
                "AeroShakeTask", "DimTask", "EmojiAliasTask", "AutoPlainTextTask",
                "KeepMacAwakeTask", "MechanicalKeyboardTask", "HighlightActiveWindowTask",
                "NotchTask", "ClickToHideTask", "MouseJigglerTask", "SnowTask",
                "FocusFrontmostAppTask", "PreviewDockWindowTask"]


def simulated_input():
    """Simulated key and mouse events over two windows, one at a time."""
    while True:
        x, y = random.randint(120, 880), random.randint(130, 580)
        for _ in range(6):
            yield ["pointer", str(random.randint(100, 900)), str(random.randint(100, 600))]
        yield ["click", str(x), str(y)]
        yield ["scroll", str(random.choice([-3, -1, 1, 3]))]
        yield ["type", random.choice(["hello ", "world ", ":smi", "le: ", "a\tb "])]
        yield ["key", random.choice(["Shift+K", "Ctrl+A", "Escape", "Return"])]
        yield ["pointer", str(x), str(y)]
        yield ["click", "300", "110"]
        yield ["drag", "300", "110", str(random.randint(0, 1200)), str(random.randint(30, 700)),
               "--steps", "4"]
        yield ["scroll", "2", "1", "--trackpad"]


def long_soak(minutes):
    """Ten toggles on and simulated input at 20 events a second: RSS each
    minute, CPU time, crashes."""
    session = Session()
    session.start()
    session.wait_ready()
    def sim(*words):
        answer = session.ask({"command": "sim", "words": list(words)})
        if not answer or not answer["ok"]:
            raise Failure("sim %s was answered %r" % (" ".join(words), answer))
        return answer.get("output", "")

    for name, frame in (("Notes", ("100", "100", "800", "500")),
                        ("Mail", ("300", "200", "700", "450"))):
        launched = re.search(r"pid (\d+)", sim("app", "launch", name))
        if not launched:
            raise Failure("no pid for the launched " + name)
        sim("window", "add", launched.group(1), name, *frame)
    on, refused = [], []
    for tweak in LONG_TOGGLES:
        if len(on) == 10:
            break
        answer = session.switch(tweak, True)
        if answer and answer["ok"] and answer.get("on"):
            on.append(tweak)
        else:
            refused.append("%s (%s)" % (tweak, (answer or {}).get("reason") or
                                        (answer or {}).get("error") or "no answer"))
    if refused:
        note("not switched on: " + "; ".join(refused))
    events = simulated_input()
    sent = unanswered = declined = 0
    samples, cpu_start = [], session.cpu_seconds()
    began = time.monotonic()
    crashed = None
    while time.monotonic() - began < minutes * 60:
        if not session.alive():
            crashed = session.process.returncode
            break
        words = next(events)
        answer = session.ask({"command": "sim", "words": words}, 10)
        sent += 1
        if answer is None:
            unanswered += 1
            note("sim %s: no answer" % " ".join(words))
        elif not answer["ok"]:
            declined += 1
            if declined <= 5:
                note("sim %s: %s" % (" ".join(words), answer.get("error")))
        if sent % (20 * 60) == 0 and session.alive():
            samples.append(session.rss_kib() / 1024)
        time.sleep(max(0.0, began + sent / 20 - time.monotonic()))
    elapsed = time.monotonic() - began
    if crashed is None and session.alive():
        samples.append(session.rss_kib() / 1024)
        cpu = session.cpu_seconds() - cpu_start
        fds, threads = session.fds(), session.threads()
        pinged = (session.ask({"command": "ping"}) or {}).get("ok")
        stop_seconds = session.stop(timeout=15)
        code = session.process.returncode
    else:
        crashed = session.process.returncode if crashed is None else crashed
        cpu, fds, threads, pinged, stop_seconds, code = 0, 0, 0, False, 0, crashed
        note("the program ended during the soak with %s; see %s" % (crashed, session.errors))
    growth = samples[-1] - samples[0] if len(samples) > 1 else 0
    ok = (crashed is None and unanswered == 0 and len(on) == 10 and pinged and code == 0
          and growth < 16)
    return ok, ("%.1f min, %d toggles on (%s), %d events (%.1f a second), %d unanswered, "
                "%d declined; RSS MB by minute %s (%+.1f); CPU %.1f s (%.0f%%); fds %d, "
                "threads %d; crashes %d; SIGTERM %.2f s, exit %s"
                % (elapsed / 60, len(on), ",".join(t.replace("Task", "") for t in on), sent,
                   sent / elapsed, unanswered, declined, "/".join("%.0f" % s for s in samples),
                   growth, cpu, 100 * cpu / elapsed, fds, threads, 0 if crashed is None else 1,
                   stop_seconds, code))


# --- x11 --------------------------------------------------------------------

X11_TOOLS = ["Xvfb", "openbox", "xdotool", "xterm", "xrandr"]

class XSession:
    """Xvfb on a free display, openbox, and a terminal whose typing goes to a file."""

    def __init__(self):
        self.folder = new_home()
        log = open(os.path.join(self.folder, "x.txt"), "ab")
        readable, writable = os.pipe()
        spawn(["Xvfb", "-displayfd", str(writable), "-screen", "0", "1280x800x24",
               "-nolisten", "tcp"], pass_fds=(writable,), stdout=subprocess.DEVNULL, stderr=log)
        os.close(writable)
        number = b""
        end = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < end:
            if select.select([readable], [], [], 0.5)[0]:
                chunk = os.read(readable, 16)
                if not chunk:
                    break
                number += chunk
        os.close(readable)
        if not number.strip().isdigit():
            raise Failure("Xvfb gave no display")
        self.display = ":" + number.strip().decode()
        self.env = {name: value for name, value in os.environ.items() if name not in FOREIGN}
        self.env.update(DISPLAY=self.display, HOME=self.folder)
        spawn(["openbox"], env=self.env, stdout=log, stderr=log)
        if not eventually(lambda: "window id" in self.x("xprop", "-root",
                                                       "_NET_SUPPORTING_WM_CHECK"), 10, 0.1):
            raise Failure("openbox did not start")
        self.typed = os.path.join(self.folder, "typed.txt")
        open(self.typed, "w").close()
        spawn(["xterm", "-T", "quorvane-soak-typing", "-geometry", "60x8+40+40", "-e", "sh",
               "-c", 'exec cat >> "$0"', self.typed], env=self.env, stdout=log, stderr=log)
        self.terminal = eventually(
            lambda: self.x("xdotool", "search", "--onlyvisible", "--name",
                           "^quorvane-soak-typing$").split()[:1], 10, 0.1)
        if not self.terminal:
            raise Failure("the terminal did not show")
        self.terminal = self.terminal[0]
        self.tokens = 0

    def x(self, *arguments, timeout=10):
        """What an X tool printed; "" when it failed or hung."""
        try:
            done = subprocess.run(arguments, env=self.env, capture_output=True, text=True,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            return ""
        return done.stdout if done.returncode == 0 else ""

    def activate_terminal(self):
        self.x("xdotool", "windowactivate", "--sync", self.terminal, timeout=3)

    def type_through(self, within, activate=True):
        """Seconds until a line typed into the terminal reached its file, or
        None when none did within `within` seconds. Unless `activate`, the
        keys go wherever the focus is."""
        started = time.monotonic()
        while True:
            self.tokens += 1
            token = "q%d%s" % (self.tokens, "".join(random.choice(string.ascii_lowercase)
                                                     for _ in range(5)))
            if activate:
                self.x("xdotool", "windowactivate", self.terminal, timeout=3)
                time.sleep(0.05)
            self.x("xdotool", "type", "--delay", "10", token + "\n", timeout=5)

            def arrived():
                with open(self.typed) as typed:
                    return token in typed.read()

            if eventually(arrived, min(0.6, max(0.0, within - (time.monotonic() - started)))):
                return time.monotonic() - started
            if time.monotonic() - started >= within:
                return None

    def visible(self, name):
        return self.x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % name).split()

    def output(self):
        for line in self.x("xrandr").splitlines():
            if " connected" in line:
                return line.split()[0]
        return None

    def ramps(self):
        """Every CRTC's gamma ramps, read through Xlib's RandR (xrandr
        --verbose does not show them on Xvfb)."""
        x11, randr = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXrandr.so.2")
        x11.XOpenDisplay.restype, x11.XOpenDisplay.argtypes = ctypes.c_void_p, [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        randr.XRRGetScreenResourcesCurrent.restype = ctypes.POINTER(ScreenResources)
        randr.XRRGetScreenResourcesCurrent.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        randr.XRRFreeScreenResources.argtypes = [ctypes.POINTER(ScreenResources)]
        randr.XRRGetCrtcGamma.restype = ctypes.POINTER(CrtcGamma)
        randr.XRRGetCrtcGamma.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        randr.XRRFreeGamma.argtypes = [ctypes.POINTER(CrtcGamma)]
        display = x11.XOpenDisplay(self.display.encode())
        if not display:
            raise Failure("cannot open " + self.display)
        found = []
        try:
            resources = randr.XRRGetScreenResourcesCurrent(display, x11.XDefaultRootWindow(display))
            for index in range(resources.contents.ncrtc):
                gamma = randr.XRRGetCrtcGamma(display, resources.contents.crtcs[index])
                size = gamma.contents.size
                found.append(tuple(tuple(channel[i] for i in range(size)) for channel in
                                   (gamma.contents.red, gamma.contents.green, gamma.contents.blue)))
                randr.XRRFreeGamma(gamma)
            randr.XRRFreeScreenResources(resources)
        finally:
            x11.XCloseDisplay(display)
        return tuple(found)


class ScreenResources(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("configTimestamp", ctypes.c_ulong),
                ("ncrtc", ctypes.c_int), ("crtcs", ctypes.POINTER(ctypes.c_ulong)),
                ("noutput", ctypes.c_int), ("outputs", ctypes.POINTER(ctypes.c_ulong)),
                ("nmode", ctypes.c_int), ("modes", ctypes.c_void_p)]


class CrtcGamma(ctypes.Structure):
    _fields_ = [("size", ctypes.c_int), ("red", ctypes.POINTER(ctypes.c_ushort)),
                ("green", ctypes.POINTER(ctypes.c_ushort)),
                ("blue", ctypes.POINTER(ctypes.c_ushort))]


def ramp_tops(ramps):
    """The ramps in brief: each channel's top value."""
    return " ".join("%d/%d/%d" % tuple(channel[-1] if channel else 0 for channel in crtc)
                    for crtc in ramps) or "none"


# name: (tweak id, how it starts, holds the input, its windows' title or None,
#        whether they take every key and must go when the main thread stops)
X11_CASES = {
    "lock": ("LockScreenTask", "switch", True, "LockScreenTask", True),
    "blackout": ("BlackOutTask", "switch", True, "BlackOutTask", True),
    "colorpicker": ("Color Picker", "run", True, "Quorvane colour sampler", True),
    "extracttext": ("Extract Text", "run", True, "Quorvane screen selection", True),
    "emoji": ("EmojiAliasTask", "switch", False, None, False),
    "keystrokes": ("VisualizeKeystrokeTask", "switch", False, "VisualizeKeystrokeTask", False),
    "autoclick": ("AutoClickTask", "switch", False, None, False),
}
SHORTCUTS = {"Hotkeys.LockScreenTask": "Ctrl+Alt+L", "Hotkeys.BlackOutTask": "Ctrl+Alt+B"}


def x11_session(xs, home=None):
    session = Session(home, {"DISPLAY": xs.display, "QT_QPA_PLATFORM": "xcb"})
    if home is None:
        os.makedirs(session.config, exist_ok=True)
        with open(os.path.join(session.config, "UserDefaults.json"), "w") as defaults:
            json.dump(SHORTCUTS, defaults)
    session.start(timeout=30)
    session.wait_ready(15)
    kind = ((session.ask({"command": "desktop"}) or {}).get("snapshot") or {}).get("desktop")
    if "X11" not in str(kind):
        raise Failure("the program took the %r desktop, not the X11 session" % kind)
    time.sleep(2)  # past the re-application of stored toggles
    return session


def engage(xs, session, case):
    tweak, how, _, overlay, _ = X11_CASES[case]
    if how == "switch":
        answer = session.switch(tweak, True)
        engaged = answer and answer["ok"] and answer.get("on")
    else:
        answer = session.ask({"command": "runNamed", "name": tweak}, 20)
        engaged = answer and answer["ok"] and answer.get("found")
    if not engaged:
        raise Failure("%s did not start: %r" % (tweak, answer))
    if overlay and X11_CASES[case][4] and not eventually(lambda: xs.visible(overlay), 5, 0.1):
        raise Failure("%s showed no %s window" % (tweak, overlay))
    time.sleep(0.3)


def x11_case(xs, case, mode):
    """One tweak on, then the program killed, stopped or its main thread
    stopped; what came of typing and of its windows."""
    tweak, _, holds, overlay, blocks = X11_CASES[case]
    session = x11_session(xs)
    try:
        xs.activate_terminal()
        engage(xs, session, case)
        held = xs.type_through(1.0, activate=False) is None
        if held != holds:
            raise Failure("typing was %s while %s was on"
                          % ("held" if held else "not held", tweak))
        # Windows that let everything through may stay while the program is
        # stopped; those that take every key may not.
        watched = overlay if mode == "kill" or blocks else None
        stopped_at = time.monotonic()

        def after():
            """Seconds until typing came back, and until its windows went."""
            back = xs.type_through(WATCHDOG + 3.0)
            gone = eventually(lambda: not (watched and xs.visible(watched)),
                              max(0.0, stopped_at + WATCHDOG + 3.0 - time.monotonic()), 0.1)
            return back, time.monotonic() - stopped_at if gone else None

        if mode == "kill":
            session.stop(signal.SIGKILL)
            back, gone = after()
        elif mode == "stop":
            session.process.send_signal(signal.SIGSTOP)
            try:
                back, gone = after()
            finally:
                session.process.send_signal(signal.SIGCONT)
        else:
            with MainThreadStopped(session.process.pid):
                back, gone = after()
        if session.alive():
            if not eventually(lambda: (session.ask({"command": "ping"}, 5) or {}).get("ok"), 10):
                raise Failure("no ping answered after the %s" % mode)
            session.stop(timeout=10)
        return back, gone
    finally:
        if session.alive():
            session.process.kill()
            session.process.wait()


def gamma_case(xs):
    """Dim through the gamma ramps (no compositor), killed: the ramps are put
    back, calibration kept, by the next start."""
    output = xs.output()
    if not output:
        raise Failure("xrandr shows no output")
    xs.x("xrandr", "--output", output, "--gamma", "0.9:0.8:0.7", "--brightness", "1.0")
    calibrated = xs.ramps()
    session = x11_session(xs)
    try:
        answer = session.switch("DimTask", True)
        if not (answer and answer["ok"] and answer.get("on")):
            raise Failure("Dim did not start: %r" % answer)
        dimmed = eventually(lambda: xs.ramps() != calibrated, 5, 0.1)
        during = xs.ramps()
        session.stop(signal.SIGKILL)
        after_kill = xs.ramps()
        session = x11_session(xs, session.home)
        restored = eventually(lambda: xs.ramps() == calibrated, 5, 0.1)
        session.stop(timeout=10)
        after_stop = xs.ramps()
    finally:
        if session.alive():
            session.process.kill()
            session.process.wait()
    return {"calibrated": ramp_tops(calibrated), "dimmed": ramp_tops(during) if dimmed else None,
            "killed": "kept" if after_kill == during else "back" if after_kill == calibrated
            else ramp_tops(after_kill),
            "restored": bool(restored) and after_stop == calibrated}


def x11_soak(chosen):
    """Every tweak that holds a person's input gives it back when the program
    is killed, stopped, or its main thread stops; Dim's gamma comes back."""
    missing = [tool for tool in X11_TOOLS if not shutil.which(tool)]
    if missing:
        return True, "skipped: %s not installed" % ", ".join(missing)
    xs = XSession()
    results, failures = [], 0
    for case in chosen:
        if case == "dim":
            try:
                gamma = gamma_case(xs)
            except Failure as failure:
                failures += 1
                note("dim: %s" % failure)
                results.append("dim FAILED")
                continue
            if not gamma["dimmed"]:
                failures += 1
                note("dim: the ramps did not change from %s" % gamma["calibrated"])
            if not gamma["restored"]:
                failures += 1
                note("dim: ramps %s, %s after the kill, not back after the next start"
                     % (gamma["calibrated"], gamma["killed"]))
            results.append("Dim's ramps %s -> %s, %s after kill, %s after the next start"
                           % (gamma["calibrated"], gamma["dimmed"], gamma["killed"],
                              "back" if gamma["restored"] else "NOT BACK"))
            continue
        figures = []
        for mode in ("kill", "stop", "stall"):
            try:
                back, gone = x11_case(xs, case, mode)
            except Failure as failure:
                failures += 1
                note("%s %s: %s" % (case, mode, failure))
                figures.append("%s FAILED" % mode)
                continue
            # A process stopped whole runs nothing, its watchdog neither, and
            # the X server keeps a live client's grab: told, not failed.
            if (back is None or gone is None) and mode != "stop":
                failures += 1
                note("%s %s: typing %s, its windows %s within %.0f s"
                     % (case, mode, "held" if back is None else "back",
                        "gone" if gone is not None else "still shown", WATCHDOG + 3))
            figure = "%s %s" % (mode, "HELD" if back is None else "%.1fs" % back)
            if X11_CASES[case][3] and (mode == "kill" or X11_CASES[case][4]):
                figure += " (windows %s)" % ("LEFT" if gone is None else "gone %.1fs" % gone)
            figures.append(figure)
        results.append("%s %s" % (case, " ".join(figures)))
    return failures == 0, ("typing back after (kill/SIGSTOP, not counted/main thread stopped): "
                           "%s; %d failed"
                           % ("; ".join(results), failures))


# --- running ----------------------------------------------------------------


def amount(argument, variable, default, kind=int):
    if argument is not None:
        return kind(argument)
    if os.environ.get(variable):
        return kind(os.environ[variable])
    return default


def choices(argument, known):
    chosen = argument.split(",") if argument else list(known)
    unknown = [name for name in chosen if name not in known]
    if unknown:
        raise SystemExit("unknown: %s (known: %s)" % (", ".join(unknown), ", ".join(known)))
    return chosen


# The records each helper serves, and fields to fill them with.
HELPER_KINDS = {
    "quorvane-sound": ["play", "prepare", "click", "release"],
    "quorvane-camera": ["devices", "default", "authorization", "access", "session", "device",
                        "preset", "start", "stop", "end", "release"],
}
HELPER_FIELDS = ["1", "0", "-1", "3", "99999999999999999999", "x", "", "1e9", "nan", "inf",
                 "/dev/video0", "keyDown", "toggleOn", "\udcff"]


def helper_round(program, kinds, rng):
    """One helper fed up to 30 records, then dropped: its exit status, or
    "hung" when it did not leave within 5 s."""
    ours, theirs = socket.socketpair(socket.AF_UNIX, socket.SOCK_SEQPACKET)
    environment = dict(os.environ, QUORVANE_AUDIO="silent", PULSE_SERVER="unix:/nonexistent/soak")
    helper = subprocess.Popen([program], stdin=theirs, stdout=theirs, stderr=subprocess.DEVNULL,
                              env=environment)
    theirs.close()
    ours.settimeout(2)
    try:
        for _ in range(rng.randint(1, 30)):
            pick = rng.random()
            if pick < 0.6:
                fields = [rng.choice(kinds)] + [rng.choice(HELPER_FIELDS) for _ in range(rng.randint(0, 5))]
                data = "\0".join(fields).encode("utf-8", "surrogateescape")
            elif pick < 0.8:
                data = bytes(rng.getrandbits(8) for _ in range(rng.randint(1, 200)))
            elif pick < 0.9:
                data = b"x" * 70000  # beyond the largest record
            else:
                data = b"\0" * rng.randint(1, 5)
            try:
                ours.send(data)
                ours.recv(65536)
            except (socket.timeout, OSError):
                pass
    finally:
        ours.close()
    try:
        return helper.wait(5)
    except subprocess.TimeoutExpired:
        helper.kill()
        helper.wait()
        return "hung"


def helpers_soak(rounds):
    rng = random.Random(int(os.environ.get("SOAK_SEED", "7")))
    figures, bad = [], 0
    for name, kinds in HELPER_KINDS.items():
        program = os.path.join(os.path.dirname(PROGRAM), name)
        if not os.access(program, os.X_OK):
            note("no helper at %s" % program)
            bad += 1
            continue
        endings = {}
        for _ in range(rounds):
            status = helper_round(program, kinds, rng)
            endings[status] = endings.get(status, 0) + 1
        wrong = {status: count for status, count in endings.items() if status not in (0, 1)}
        if wrong:
            note("%s ended badly (a negative status is a signal): %s" % (name, wrong))
            bad += 1
        figures.append("%s: %d rounds, %s" % (name, rounds, ", ".join(
            "%d %s" % (count, "hung" if status == "hung" else "exit %s" % status)
            for status, count in sorted(endings.items(), key=lambda item: str(item[0])))))
    return not bad, "; ".join(figures)


def soak(which, argument):
    """The soak named and the longest it may take, in seconds."""
    if which == "kill":
        cycles = amount(argument, "SOAK_CYCLES", 100)
        return (lambda: kill_soak(cycles)), 60 + cycles * 8
    if which == "socket":
        samples = amount(argument, "SOAK_SAMPLES", 200)
        return (lambda: socket_soak(samples)), 240 + samples
    if which == "requests":
        seconds = amount(argument, "SOAK_SECONDS", 300)
        return (lambda: request_soak(seconds)), 120 + seconds * 1.5
    if which == "files":
        kinds = choices(argument, ["fifo", "folder", "zero", "sparse"])
        return (lambda: files_soak(kinds)), 1200
    if which == "long":
        minutes = amount(argument, "SOAK_MINUTES", 5, float)
        return (lambda: long_soak(minutes)), 180 + minutes * 60 * 1.2
    if which == "x11":
        cases = choices(argument, list(X11_CASES) + ["dim"])
        return (lambda: x11_soak(cases)), 1200
    if which == "helpers":
        rounds = amount(argument, "SOAK_ROUNDS", 300)
        return (lambda: helpers_soak(rounds)), 120 + rounds * 2
    return None


def main():
    which = sys.argv[1] if len(sys.argv) > 1 else ""
    argument = sys.argv[2] if len(sys.argv) > 2 else None
    chosen = soak(which, argument)
    if chosen is None:
        raise SystemExit(__doc__)
    if not os.access(PROGRAM, os.X_OK):
        raise SystemExit("no program at %s (build it, or set QUORVANE)" % PROGRAM)
    run, limit = chosen

    def out_of_time(*_):
        raise TimedOut()

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(int(limit))
    try:
        ok, figures = run()
    except TimedOut:
        ok, figures = False, "did not finish within %d s" % limit
    except Failure as failure:
        ok, figures = False, str(failure)
    except Exception as error:  # the verdict line is owed whatever happened
        traceback.print_exc()
        ok, figures = False, "%s: %s" % (type(error).__name__, error)
    finally:
        signal.alarm(0)
        end_started()
    tidy_homes(keep=not ok)
    print("%s %s: %s" % (which, "PASS" if ok else "FAIL", figures), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
