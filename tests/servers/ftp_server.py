#!/usr/bin/python3
"""FTP servers for the transfer tests (pyftpdlib), both serving STATE_DIR/ftp read-only.

Usage: ftp_server.py STATE_DIR

STATE_DIR/ftp.port: anonymous logon allowed; "REST" accepted whatever the transfer type (the
stock handler refuses it while the type is ASCII, which is when clients send it).
STATE_DIR/ftp_strict.port: no anonymous logon, one user "kestrune" with the password "se:cr@t";
"REST" is answered "502 Command not implemented.".
"""

import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

STATE_DIR = sys.argv[1]
ROOT = os.path.join(STATE_DIR, "ftp")


class RestartAnyTypeHandler(FTPHandler):
    def ftp_REST(self, line):
        try:
            position = int(line)
            if position < 0:
                raise ValueError
        except (ValueError, OverflowError):
            self.respond("501 Invalid parameter.")
            return
        self.respond("350 Restarting at position %s." % position)
        self._restart_position = position


class NoRestartHandler(FTPHandler):
    def ftp_REST(self, line):
        self.respond("502 Command not implemented.")


def write_port(name, port):
    path = os.path.join(STATE_DIR, name)
    with open(path + ".tmp", "w") as f:
        f.write("%d\n" % port)
    os.replace(path + ".tmp", path)


def main():
    logging.basicConfig(level=logging.INFO, stream=sys.stderr)
    anonymous = DummyAuthorizer()
    anonymous.add_anonymous(ROOT)
    RestartAnyTypeHandler.authorizer = anonymous
    strict = DummyAuthorizer()
    strict.add_user("kestrune", "se:cr@t", ROOT, perm="elr")
    NoRestartHandler.authorizer = strict
    for handler in (RestartAnyTypeHandler, NoRestartHandler):
        handler.banner = "Kestrune test server ready."
        handler.passive_ports = None
    open_server = FTPServer(("127.0.0.1", 0), RestartAnyTypeHandler)
    strict_server = FTPServer(("127.0.0.1", 0), NoRestartHandler)
    write_port("ftp_strict.port", strict_server.address[1])
    write_port("ftp.port", open_server.address[1])
    open_server.serve_forever()


if __name__ == "__main__":
    main()
