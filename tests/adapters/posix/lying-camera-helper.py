#!/usr/bin/env python3
# A camera helper that lies: its frame memory is shorter than it says, or
# unsealed, and its records carry sizes and slots out of range. The program
# must map none of it and show no frame.
import os
import socket
import sys

channel = socket.socket(fileno=0)
session = None


def send(*fields, fds=()):
    data = b"\0".join(f.encode() if isinstance(f, str) else f for f in fields)
    socket.send_fds(channel, [data], list(fds)) if fds else channel.send(data)


def state(running):
    return ("1", "", "liar", "3", "320", "240", "1" if running else "0", "0", "0")


while True:
    record = channel.recv(65536)
    if not record:
        sys.exit(0)
    fields = record.decode(errors="replace").split("\0")
    kind = fields[0]
    if kind in ("session", "device", "preset", "stop"):
        session = fields[1]
        send("=", *state(False))
    elif kind == "start":
        send("=", *state(True))
        short = os.memfd_create("short")
        os.ftruncate(short, 4096)  # says 3 × 307,200 bytes
        sealed = os.memfd_create("sealed", os.MFD_ALLOW_SEALING)
        os.ftruncate(sealed, 320 * 240 * 4 * 3)
        import fcntl
        fcntl.fcntl(sealed, fcntl.F_ADD_SEALS, fcntl.F_SEAL_SHRINK)
        unsealed = os.memfd_create("unsealed")
        os.ftruncate(unsealed, 320 * 240 * 4 * 3)
        send("buffer", session, "1", str(320 * 240 * 4), "3", fds=[short])
        send("frame", session, "1", "0", "320", "240")
        send("buffer", session, "2", str(320 * 240 * 4), "3", fds=[unsealed])
        send("frame", session, "2", "0", "320", "240")
        send("buffer", session, "3", str(320 * 240 * 4), "3", fds=[sealed])
        send("frame", session, "3", "3", "320", "240")        # no such slot
        send("frame", session, "3", "0", "640", "480")        # larger than a slot
        send("frame", session, "3", "-1", "320", "240")
        send("frame", session, "3", "0", "320", "99999999999999999999")
        send("frame", "999", "3", "0", "320", "240")          # no such session
        send("buffer", session, "4", "-5", "3", fds=[sealed])
        send("frame", session, "3", "1", "320", "240")        # the one honest frame
    elif kind == "end" or kind == "release":
        pass
    else:
        send("=")
