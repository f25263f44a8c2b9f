"""A client of the game's remote-control port: zero-terminated strings
over TCP on 127.0.0.1, first "~handshake NAME", then one Tcl command per
string, each answered by one zero-terminated result. The program answers
once per frame, so a command waits for the next frame."""

import socket
import time


class RemoteError(Exception):
    pass


def port_of(name):
    """The port the program listens on for the application name."""
    return 12000 + sum(ord(c) * (i + 1) for i, c in enumerate(name)) % 999


def port_in_use(port):
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.settimeout(1.0)
        return s.connect_ex(("127.0.0.1", port)) == 0


class Remote:
    def __init__(self, name, timeout=30.0):
        self.name = name
        self.port = port_of(name)
        self.timeout = timeout
        self.sock = None
        self.pending = b""

    def connect(self, deadline, alive=None):
        """Connect and shake hands, retrying until the deadline (a
        time.monotonic() value); RemoteError when the port never opens."""
        last = None
        while time.monotonic() < deadline:
            if alive and not alive():
                raise RemoteError("the program ended before its remote port %d opened" % self.port)
            try:
                s = socket.create_connection(("127.0.0.1", self.port), timeout=2.0)
                s.settimeout(self.timeout)
                s.sendall(b"~handshake " + self.name.encode() + b"\0")
                self.sock = s
                return
            except OSError as e:
                last = e
                time.sleep(0.3)
        raise RemoteError("the remote port %d for '%s' did not open: %s" % (self.port, self.name, last))

    def run(self, command):
        """The result of one Tcl command in the program."""
        if not self.sock:
            raise RemoteError("not connected")
        try:
            self.sock.sendall(command.encode() + b"\0")
            while b"\0" not in self.pending:
                chunk = self.sock.recv(65536)
                if not chunk:
                    raise RemoteError("the program closed the remote connection during '%s'" % command[:80])
                self.pending += chunk
        except socket.timeout as e:
            raise RemoteError("no answer to '%s' within %.0f s" % (command[:80], self.timeout)) from e
        except OSError as e:
            raise RemoteError("the remote connection failed during '%s': %s" % (command[:80], e)) from e
        reply, self.pending = self.pending.split(b"\0", 1)
        return reply.decode(errors="replace")

    def close(self):
        if self.sock:
            try:
                self.sock.sendall(b"~close\0")
            except OSError:
                pass
            self.sock.close()
            self.sock = None
