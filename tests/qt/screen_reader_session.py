# SPDX-License-Identifier: MIT
"""What both screen reader tests drive: qup-drive showing the window, and a stand-in for the
operator's web server on 127.0.0.1 that takes one suggestion and answers 200 OK."""

import os
import socket
import subprocess
import tempfile
import threading


class StandInServer:
    """Takes one request of up to 1280 bytes and answers 200 OK; waits at most accept_timeout
    for it, and timeout for each read."""

    def __init__(self, accept_timeout, timeout):
        self.timeout = timeout
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.socket.bind(("127.0.0.1", 0))
        self.socket.listen(1)
        self.socket.settimeout(accept_timeout)
        self.port = self.socket.getsockname()[1]
        self.received = b""
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        try:
            connection, _ = self.socket.accept()
        except OSError:
            return
        with connection:
            connection.settimeout(self.timeout)
            try:
                while len(self.received) < 1280:
                    chunk = connection.recv(4096)
                    if not chunk:
                        break
                    self.received += chunk
                connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
            except OSError:
                pass


class Program:
    """qup-drive showing the window, its suggestions sent to server_port and its message boxes
    left to the user; the script's input stays open until stop()."""

    def __init__(self, drive, server_port, timeout):
        self.timeout = timeout
        self.config = tempfile.mkdtemp(prefix="qup-reader-")
        env = dict(os.environ, XDG_CONFIG_HOME=self.config)
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen([drive], stdin=subprocess.PIPE, stdout=self.output,
                                        stderr=subprocess.STDOUT, env=env)
        self.send("resolve 127.0.0.1:%d\nboxes user\nstart\n" % server_port)

    def send(self, commands):
        self.process.stdin.write(commands.encode())
        self.process.stdin.flush()

    def stop(self):
        try:
            self.process.stdin.close()
            self.process.wait(timeout=self.timeout)
        except Exception:
            self.process.kill()
            self.process.wait(timeout=self.timeout)

    def printed(self):
        self.output.seek(0)
        return self.output.read().decode("utf-8", "replace")
