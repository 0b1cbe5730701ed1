"""Shared pieces of the live measuring scripts (bench-live, soak): free ports, the client's
process tree, its CPU time and memory, the client's trace lines with their arrival times, and
starting the demo service, the companion stand-in and the client."""

import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")
SESSID = "demo-session-0001"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def process_tree(root):
    """The pid `root` and all its descendants."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parents[int(entry)] = int(fields[1])
        except OSError:
            continue
    tree, frontier = {root}, [root]
    while frontier:
        p = frontier.pop()
        for child, parent in parents.items():
            if parent == p and child not in tree:
                tree.add(child)
                frontier.append(child)
    return tree


def cpu_ticks(pids):
    ticks = {}
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            ticks[p] = int(fields[11]) + int(fields[12])  # utime + stime
        except OSError:
            pass
    return ticks


def pss_kb(pids, fields=("Pss:",)):
    """Sum of the smaps_rollup `fields` (default the PSS) of `pids`, in kB."""
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith(fields):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def own_pss_kb(pids):
    """The PSS of memory no file backs (heaps, stacks, shared memory between the client and its
    page processes), in kB. Unlike the whole PSS it does not move when other programs map the
    same libraries (a test run beside the measurement halves the client's share of the web
    engine's library), and it is what a leak is made of."""
    return pss_kb(pids, ("Pss_Anon:", "Pss_Shmem:"))


class TraceReader:
    """Collects the client's trace lines with the moment each arrived."""

    def __init__(self, stream):
        self.lines = []
        self.cond = threading.Condition()
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for raw in stream:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            with self.cond:
                self.lines.append((time.monotonic(), line))
                self.cond.notify_all()

    def wait_for(self, predicate, after, timeout):
        """The moment of the first line after `after` that matches, or None."""
        deadline = time.monotonic() + timeout
        with self.cond:
            while True:
                for t, line in self.lines:
                    if t >= after and predicate(line):
                        return t
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(left)



def run_ns(pids):
    """Time on a CPU per thread, in ns, from the scheduler's own accounting
    (/proc/PID/task/TID/schedstat), keyed by (pid, tid)."""
    used = {}
    for p in pids:
        try:
            tids = os.listdir(f"/proc/{p}/task")
        except OSError:
            continue
        for t in tids:
            try:
                with open(f"/proc/{p}/task/{t}/schedstat") as f:
                    used[(p, t)] = int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass
    return used


def cpu_percent(pid, seconds):
    """CPU of the process tree of `pid` over `seconds`, in % of one core, as a pair: the
    scheduler's run time (exact) and the utime + stime ticks (what top shows). Ticks charge a
    whole tick to whoever runs when it fires, so for brief timer wake-ups they are a sample
    rather than a measure; the two agree over a long enough window."""
    tree = process_tree(pid)
    ran, ticked, t0 = run_ns(tree), cpu_ticks(tree), time.monotonic()
    time.sleep(seconds)
    tree = process_tree(pid)
    ran_after, ticked_after, t1 = run_ns(tree), cpu_ticks(tree), time.monotonic()
    ns = sum(v - ran.get(k, 0) for k, v in ran_after.items())
    ticks = sum(v - ticked.get(p, 0) for p, v in ticked_after.items())
    return (100.0 * ns / 1e9 / (t1 - t0),
            100.0 * ticks / os.sysconf("SC_CLK_TCK") / (t1 - t0))


def build(*targets):
    subprocess.check_call([os.path.join(ROOT, "scripts", "build")] + list(targets),
                          stdout=subprocess.DEVNULL)


def rerun_under_xvfb(argv):
    """Without a display, runs the calling script again under Xvfb (never returns then)."""
    if os.environ.get("DISPLAY") or os.environ.get("KOVAN_LIVE_INNER"):
        return
    env = dict(os.environ, KOVAN_LIVE_INNER="1")
    os.execvpe("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1920x1080x24",
                            "python3"] + argv, env)


class Rig:
    """The demo service (or the given data port), the companion and the client, in a scratch
    program folder; everything ends with stop()."""

    def __init__(self, data_port=None, live_events=False, event_rate=None, env=None,
                 chart_step_ms=None):
        self.folder = tempfile.mkdtemp(prefix="kovan-live-")
        self.xdg = tempfile.mkdtemp(prefix="kovan-xdg-")
        os.chmod(self.xdg, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.xdg,
                        SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"),
                        KOVAN_TRACE="1", **(env or {}))
        # The web engine's page sandbox cannot start as root; every other account keeps it.
        if os.geteuid() == 0:
            self.env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        self.demo_data = free_port()
        self.data = data_port or self.demo_data
        self.page, self.web = free_port(), free_port()
        self.block = f"KOVANLIVE{os.getpid()}"
        # The demo's own notices, news and section posts every few seconds are not idle.
        self.live_events = live_events
        self.event_rate = event_rate
        # The demo moves its bids on a chart request this often (None: its own pace, 1 s).
        self.chart_step_ms = chart_step_ms
        self.procs = []
        self.client = None
        self.trace = None

    def start(self):
        shutil.copy(os.path.join(BIN, "kovan-companion"), os.path.join(self.folder, "zrs"))
        self.procs.append(subprocess.Popen(
            [os.path.join(BIN, "kovan-demo-service"), "--data-port", str(self.demo_data),
             "--page-port", str(self.page), "--web-port", str(self.web), "--sessid", SESSID]
            + ([] if self.live_events else ["--no-live-events"])
            + (["--event-rate", str(self.event_rate)] if self.event_rate else [])
            + ([] if self.chart_step_ms is None
               else ["--chart-step-ms", str(self.chart_step_ms)]),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.procs.append(subprocess.Popen(
            [os.path.join(self.folder, "zrs"), "--sessid", SESSID, "--block", self.block],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1)
        self.launched = time.monotonic()
        self.client = subprocess.Popen(
            [os.path.join(BIN, "kovan"), "--dir", self.folder,
             "--data-server", f"127.0.0.1:{self.data}",
             "--page-server", f"127.0.0.1:{self.page}",
             "--web-site", f"127.0.0.1:{self.web}", "--session-block", self.block],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.procs.append(self.client)
        self.trace = TraceReader(self.client.stderr)

    def terminate(self, timeout=30):
        """SIGTERM to the client; seconds until it ended, None when it did not."""
        asked = time.monotonic()
        self.client.terminate()
        try:
            self.client.wait(timeout=timeout)
            return time.monotonic() - asked
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.rmtree(self.xdg, ignore_errors=True)


def find_window(width, height):
    """(x, y) of the first top-level window of that size on the X screen, or None."""
    out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                         text=True).stdout
    key = f" {width}x{height}+"
    for line in out.splitlines():
        at = line.find(key)
        if at >= 0:
            x, y = line[at + len(key):].split()[0].split("+")[:2]
            return int(x), int(y)
    return None


def find_windows(width, height):
    """Ids and (x, y) of every top-level window of that size on the X screen."""
    out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                         text=True).stdout
    key = f" {width}x{height}+"
    found = []
    for line in out.splitlines():
        at = line.find(key)
        if at >= 0:
            x, y = line[at + len(key):].split()[0].split("+")[:2]
            found.append((line.split()[0], (int(x), int(y))))
    return found


def move_window(window_id, x, y):
    subprocess.run(["xdotool", "windowmove", window_id, str(x), str(y)], check=False)


def wait_window(width, height, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find_window(width, height)
        if found:
            return found
        time.sleep(0.5)
    return None


def click(x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=False)


def park_mouse():
    """Moves the pointer to the screen's corner, where no window reacts to it."""
    subprocess.run(["xdotool", "mousemove", "0", "1079"], check=False)


def own_pss_by_process(pids):
    """own_pss_kb of each pid of `pids` that still exists."""
    return {p: own_pss_kb([p]) for p in pids if os.path.exists(f"/proc/{p}")}


def process_role(pid):
    """'client', 'renderer', 'gpu-process', 'zygote', 'utility' ... from the command line."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            args = f.read().split(b"\0")
    except OSError:
        return "gone"
    for a in args:
        if a.startswith(b"--type="):
            return a[len(b"--type="):].decode()
    return os.path.basename(args[0].decode(errors="replace")) if args and args[0] else "?"


class DevTools:
    """The web engine's remote debugging port on loopback (QTWEBENGINE_REMOTE_DEBUGGING): the
    pages it lists, and one protocol call on a page through a minimal WebSocket client (text
    frames only, which is all the protocol uses)."""

    def __init__(self, port):
        self.port = port

    def pages(self):
        import json
        import urllib.request
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/list", timeout=5) as r:
            return [t for t in json.load(r) if t.get("type") == "page"]

    def call(self, target, method, params=None, timeout=10):
        import base64
        import json
        import struct
        path = "/devtools/page/" + target["id"]
        with socket.create_connection(("127.0.0.1", self.port), timeout=timeout) as s:
            key = base64.b64encode(os.urandom(16)).decode()
            s.sendall((f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{self.port}\r\n"
                       "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                       f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
            buf = b""
            while b"\r\n\r\n" not in buf:
                chunk = s.recv(4096)
                if not chunk:
                    raise OSError("devtools: no handshake")
                buf += chunk
            head, buf = buf.split(b"\r\n\r\n", 1)
            if b" 101 " not in head.split(b"\r\n")[0]:
                raise OSError("devtools: " + head.split(b"\r\n")[0].decode())
            payload = json.dumps({"id": 1, "method": method, "params": params or {}}).encode()
            mask = os.urandom(4)
            n = len(payload)
            header = bytes([0x81]) + (bytes([0x80 | n]) if n < 126 else
                                      bytes([0x80 | 126]) + struct.pack(">H", n) if n < 65536
                                      else bytes([0x80 | 127]) + struct.pack(">Q", n))
            s.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

            def take(count):
                nonlocal buf
                while len(buf) < count:
                    chunk = s.recv(65536)
                    if not chunk:
                        raise OSError("devtools: connection closed")
                    buf += chunk
                out, buf = buf[:count], buf[count:]
                return out

            message = b""
            while True:
                b0, b1 = take(2)
                n = b1 & 0x7F
                if n == 126:
                    n = struct.unpack(">H", take(2))[0]
                elif n == 127:
                    n = struct.unpack(">Q", take(8))[0]
                message += take(n)
                if not b0 & 0x80:
                    continue  # a fragment: the rest follows
                reply = json.loads(message)
                message = b""
                if reply.get("id") == 1:
                    return reply.get("result", reply.get("error"))
