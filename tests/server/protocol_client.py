#!/usr/bin/python3
"""A client of the data service written from docs/protocol.md alone.

Usage: protocol_client.py PATH/TO/orbe-dataserver
Creates a small database under the storage contract (docs/storage.md), starts the server on a free port,
then asks host load (2200), a table time stamp (2015) and fetches a dictionary file (2009) twice: the
second time with the MD5 of what it got, which the server must answer as unchanged. It selects with list
conditions written as section 5 describes them, and on the file port downloads an unchanged file and
sends a header longer than the port's frames. Exit 0 on success.
"""
import hashlib
import os
import signal
import socket
import sqlite3
import struct
import subprocess
import sys
import tempfile
import zlib

REQUEST_HEADER = struct.Struct("<IBBII")      # id, marker 0x4F, version 1, total length, reserved
REPLY_HEADER = struct.Struct("<IBBHIiiI")     # id, flags, kind, code, total, progress, status, raw length
DATA, END, ZLIB = 1, 2, 0x10


def make_database(path):
    db = sqlite3.connect(path)
    db.executescript("""
        CREATE TABLE orbe_tables(number INTEGER PRIMARY KEY, name TEXT, key_field INTEGER, seq INTEGER);
        CREATE TABLE orbe_fields(table_number INTEGER, seq INTEGER, number INTEGER, type INTEGER,
                                 width INTEGER, const_class TEXT, name TEXT);
        CREATE TABLE orbe_consts(seq INTEGER PRIMARY KEY, class TEXT, code TEXT, text TEXT, parent TEXT,
                                 attr TEXT);
        CREATE TABLE orbe_timestamps(table_number INTEGER PRIMARY KEY, stamp INTEGER);
        INSERT INTO orbe_tables VALUES (100000013, 'stocks', 1, 1);
        INSERT INTO orbe_fields VALUES (100000013, 1, 1, 2, 6, '', 'code'), (100000013, 2, 2, 8, 8, '', 'p');
        INSERT INTO orbe_consts VALUES (1, '974', '01', 'bank', '', '');
        INSERT INTO orbe_timestamps VALUES (100000013, 777);
        CREATE TABLE t100000013(T001 TEXT, T002 REAL);
        INSERT INTO t100000013 VALUES ('1', 1.5), ('2', 2.5), ('3', 3.5), ('8', 8.5), ('9', 9.5);
    """)
    db.commit()
    db.close()


class Client:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        self.buffer = b""
        self.next_id = 1

    def request(self, code, rest=b""):
        """Sends one request; returns (list of data bodies, final status)."""
        request_id = self.next_id
        self.next_id += 1
        body = struct.pack("<H", code) + rest
        self.sock.sendall(REQUEST_HEADER.pack(request_id, 0x4F, 1, REQUEST_HEADER.size + len(body), 0) + body)
        bodies = []
        while True:
            header, payload = self.read_packet()
            rid, flags, kind, rcode, _total, progress, status, raw_length = header
            assert rid == request_id and rcode == code, header
            assert 0 <= progress <= 100, header
            if kind == END:
                assert payload == b"" and progress == 100
                return bodies, status
            assert kind == DATA and status == 0, header
            if flags & ZLIB:
                payload = zlib.decompress(payload)
            assert len(payload) == raw_length
            bodies.append(payload)

    def read_exactly(self, count):
        while len(self.buffer) < count:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise ConnectionError("server closed the connection")
            self.buffer += chunk
        data, self.buffer = self.buffer[:count], self.buffer[count:]
        return data

    def read_packet(self):
        header = REPLY_HEADER.unpack(self.read_exactly(REPLY_HEADER.size))
        total = header[4]
        assert REPLY_HEADER.size <= total <= 16 * 1024 * 1024 + 24, header
        return header, self.read_exactly(total - REPLY_HEADER.size)

    def host_load(self):
        bodies, status = self.request(2200)
        assert status == 100 and len(bodies) == 1 and len(bodies[0]) == 8, (bodies, status)
        return struct.unpack("<II", bodies[0])

    def time_stamp(self, table):
        bodies, status = self.request(2015, struct.pack("<i", table))
        assert status == 100 and len(bodies) == 1 and len(bodies[0]) == 9, (bodies, status)
        return struct.unpack("<Bq", bodies[0])

    def select_codes(self, compare, value):
        """Field 1 of table 100000013 under one condition on field 1 (text, width 6) with this value."""
        condition = struct.pack("<BBBII", 1, compare, 2, 6, 0) + value.encode().ljust(50, b"\0")
        record = (b"orbe".ljust(50, b"\0") + struct.pack("<HHiHBBBi", 0, 0, 0, 0, 0, 0, 0, 100000013)
                  + bytes([1]).ljust(200, b"\0") + bytes([1]) + condition + bytes(61 * 4) + bytes([1]))
        assert len(record) == 574, len(record)
        bodies, status = self.request(2008, record)
        assert status == 100, status
        return [body[:6].rstrip(b"\0").decode() for body in bodies]

    def fetch(self, name, digest):
        raw = name.encode()
        return self.request(2009, digest.encode().ljust(32, b"\0")[:32] + struct.pack("<I", len(raw)) + raw)


def file_port_checks(port, root):
    """Section 6: an unchanged download announces no packet; a long header closes the connection."""
    with open(os.path.join(root, "a.txt"), "wb") as out:
        out.write(b"hello")
    client = Client(port)
    path = b"a.txt".ljust(256, b"\0")
    digest = hashlib.md5(b"hello").hexdigest().upper().encode()

    def download(md5):
        body = struct.pack("<H", 2502) + path + md5
        frame = struct.pack("<IBBHHHH", client.next_id, 0x4F, 1, 16 + len(body) - 2, 0,
                            16 + len(body) - 2, 0) + body
        request_id = client.next_id
        client.next_id += 1
        client.sock.sendall(frame)
        bodies = []
        while True:
            header, payload = client.read_packet()
            assert header[0] == request_id, header
            if header[2] == END:
                return bodies, header[6]
            bodies.append(payload)

    bodies, status = download(b"0" * 32)
    assert status == 100 and len(bodies) == 2 and struct.unpack_from("<I", bodies[0], 41)[0] == 1, bodies
    bodies, status = download(digest)
    assert status == 100 and len(bodies) == 1, bodies
    assert len(bodies[0]) == 48 and bodies[0][1:33] == digest, bodies
    assert struct.unpack_from("<I", bodies[0], 41)[0] == 0, "an unchanged file announces no data packet"
    # 70 000 bytes announced: more than a file-server frame can hold. The header alone closes it.
    client.sock.sendall(struct.pack("<IBBII", client.next_id, 0x4F, 1, 70000, 0))
    client.sock.settimeout(5)
    assert client.sock.recv(1) == b"", "the connection closes at the header"


def main():
    server = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        database = os.path.join(folder, "market.db")
        make_database(database)
        files = os.path.join(folder, "files")
        process = subprocess.Popen([server, "--db", database, "--port", "0", "--capacity", "40",
                                    "--file-root", files, "--file-port", "0", "--log-level", "warn"],
                                   stdout=subprocess.PIPE, text=True)
        try:
            line = process.stdout.readline().strip()
            assert line.startswith("listening on 127.0.0.1:"), line
            file_line = process.stdout.readline().strip()
            assert file_line.startswith("file server listening on 127.0.0.1:"), file_line
            client = Client(int(line.rsplit(":", 1)[1]))

            assert client.host_load() == (1, 40)
            assert client.time_stamp(100000013) == (0, 777)
            assert client.time_stamp(5) == (1, -1)

            bodies, status = client.fetch("tableinfo.idx.compress", "0" * 32)
            assert status == 100 and bodies, status
            plain = zlib.decompress(b"".join(bodies))
            assert len(plain) == 75 and struct.unpack_from("<I", plain, 4)[0] == 100000013
            assert plain[8:14] == b"stocks"
            digest = hashlib.md5(plain).hexdigest().upper()
            assert client.fetch("tableinfo.idx.compress", digest) == ([], 100)   # unchanged

            bodies, status = client.fetch("fieldinfo.idx", "")
            assert status == 100 and len(b"".join(bodies)) == 200
            assert client.fetch("nothing.idx", "")[1] == 104
            assert client.fetch("../market.db", "")[1] == 101
            assert client.request(1234) == ([], 102)
            assert client.request(2201) == ([], 100)

            # Codes 7 and 8: the list runs up to the ")"; written with its parentheses or without.
            for written in ("1,3,8", "1,3,8)", "(1,3,8)", " '1', 3 ,,8)"):
                assert client.select_codes(7, written) == ["1", "3", "8"], written
                assert client.select_codes(8, written) == ["2", "9"], written

            file_port_checks(int(file_line.rsplit(":", 1)[1]), files)
        finally:
            process.send_signal(signal.SIGTERM)
            code = process.wait(timeout=30)
        assert code == 0, code
    print("protocol client: all checks passed")


if __name__ == "__main__":
    main()
