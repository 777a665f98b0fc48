#!/usr/bin/python3
"""An FTP server on 127.0.0.1 for the tests of crvFTPClient and tessera-fetch.

pyftpdlib (Debian's python3-pyftpdlib) on a free port: prints "PORT <n>" on
standard output once it listens, then serves until it is killed. Anonymous
logins and the --user account see the whole --root folder and may change it.

  --root DIR            the folder served
  --user NAME:PASSWORD  an account besides anonymous
  --no-mlsd             no MLSD or MLST, and LIST times in local time, as a
                        classic Unix server lists them (else UTC, as MLSD has it)
  --log FILE            appends every command received, one per line
  --die-after BYTES     kills itself (SIGKILL) once it has sent BYTES of a file
  --raw-ascii           keeps ASCII-type uploads as they arrived (CR LF and all)
  --idle-timeout SEC    ends control connections idle for SEC seconds
  --hang-on-mkd NAME    never answers "MKD NAME"
"""

import argparse
import logging
import os
import signal
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

PERMISSIONS = "elradfmwMT"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user")
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--log")
    parser.add_argument("--die-after", type=int, default=-1)
    parser.add_argument("--raw-ascii", action="store_true")
    parser.add_argument("--idle-timeout", type=float, default=300)
    parser.add_argument("--hang-on-mkd")
    options = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)
    warnings.simplefilter("ignore")  # write rights for anonymous are what the tests want

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(options.root, perm=PERMISSIONS)
    if options.user:
        name, password = options.user.split(":", 1)
        authorizer.add_user(name, password, options.root, perm=PERMISSIONS)
    log = open(options.log, "a", buffering=1, encoding="utf-8") if options.log else None

    class TestDTPHandler(DTPHandler):
        sent = 0

        def send(self, data):
            count = super().send(data)
            TestDTPHandler.sent += count
            if 0 <= options.die_after <= TestDTPHandler.sent:
                os.kill(os.getpid(), signal.SIGKILL)
            return count

        def enable_receiving(self, type, cmd):
            super().enable_receiving(type, cmd)
            if options.raw_ascii:
                self._data_wrapper = None

    class TestHandler(FTPHandler):
        dtp_handler = TestDTPHandler
        use_sendfile = False
        auth_failed_timeout = 0.1
        timeout = options.idle_timeout
        use_gmt_times = not options.no_mlsd
        if options.no_mlsd:
            proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}

        def pre_process_command(self, line, cmd, arg):
            if log:
                log.write(line + "\n")
            if cmd == "MKD" and options.hang_on_mkd and arg == options.hang_on_mkd:
                return
            super().pre_process_command(line, cmd, arg)

    TestHandler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), TestHandler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(timeout=0.2)  # wakes up for the idle timers as well


if __name__ == "__main__":
    sys.exit(main())
