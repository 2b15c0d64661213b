#!/usr/bin/python3
"""FTP peer of the tests: pyftpdlib serving one folder on a loopback address.

--port 0 lets the system choose; the port is printed as "PORT <n>" once the server listens
(and the folder as "ROOT <path>"). The server ends when its standard input reaches its end,
so it never outlives the test that started it. --transcript appends every command line the
server receives (PASS included, unmasked) to a file.
"""
import argparse
import logging
import os
import shutil
import sys
import tempfile
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--root", help="folder to serve (default: a new temporary folder)")
    parser.add_argument("--user", action="append", default=[], help="name:password")
    parser.add_argument("--transcript", help="file that receives every command line")
    args = parser.parse_args()

    if not args.address.startswith("127."):
        sys.exit("pyftpd_launcher: only loopback addresses are served")
    temporary = args.root is None
    root = tempfile.mkdtemp(prefix="ftp-root-") if temporary else args.root

    authorizer = DummyAuthorizer()
    for pair in args.user or ["user:password"]:
        name, _, password = pair.partition(":")
        authorizer.add_user(name, password, root, perm="elradfmwMT")

    transcript = open(args.transcript, "a", encoding="latin-1") if args.transcript else None

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if transcript:
                transcript.write(line + "\n")
                transcript.flush()
            return super().pre_process_command(line, cmd, arg)

    Handler.authorizer = authorizer
    Handler.banner = "pyftpdlib ready."
    Handler.auth_failed_timeout = 0  # refuse a wrong password at once
    logging.basicConfig(level=logging.CRITICAL)

    server = FTPServer((args.address, args.port), Handler)
    print("ROOT %s" % root, flush=True)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)

    def watch_stdin():
        sys.stdin.buffer.read()
        if temporary:
            shutil.rmtree(root, ignore_errors=True)
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
