#!/usr/bin/python3
"""Loopback stand-in for the sharing service's upload script.

usage: upload_receiver.py OUTDIR [N=MODE ...]

Listens on 127.0.0.1 at a free port and prints the port as its first line.
Connections are numbered from 1 in the order they are accepted. For each one
it reads the request, checks the request line, the three header fields and
Content-Length, takes the boundary as the service does (the text after
"boundary=") and parses the body with the email parser. It writes N.raw (the
request's bytes), N.payload (the part's bytes) and last N.json (what it
found), then answers and closes. The record's "answered" is the time just
before the answer went out, "closed" the time the connection was closed.

Modes of connection N:
  refuse  stop listening before it is made
  drop    close at once, reading nothing
  stall   read the request, never answer, wait for the client to close
  close   read the request, close without an answer
  cut     read the header and 64 KiB of the body, then close
  drain   read until the client closes, keep nothing, never answer; the
          record's total_length counts every byte received, request_length
          the length the header announced (when it came)
  early   read the header, answer 200 with a body of 64 KiB at once, then
          read the request's body slowly and keep it as "ok" does
  resethalf  read the header and half the body, then reset the connection
          (what has arrived unread is thrown away)
  earlynoread  read the header, answer 200 at once and read nothing more;
          N.answered appears once the answer has gone out. The connection is
          reset once N.release appears (or after READ_TIMEOUT); the record's
          queued_length counts the body's bytes that reached the receiver's
          system unread by then
  chatter read the header, answer 200 at once, then read the body 16 KiB at a
          time with a pause after each, sending 2 KiB more of the answer
          after each, and ten times 2 KiB more after the body, 10 ms apart,
          before it closes; the record's chatter_sent counts the answer's
          bytes, and a send that fails (the client reset) is an error
  late    read the request, never answer until the client ends its sending
          side, then answer "HTTP/1.0 200 OK" (too late) and close
  nothttp read the request, answer "<html><body>OK</body></html>" alone
  NNN     answer "HTTP/1.0 NNN <reason>" (a redirection also names a Location)
  long    answer 200 with a body of 256 KiB
  count   only count the body's bytes, keep nothing, answer 200
  flood   read the request, answer "HTTP/1.0 200 OK" and a header, then send
          lines of filler until the client drops the connection, for at
          most FLOOD_LIMIT bytes or FLOOD_SECONDS; the record's flood_sent
          counts every byte of the answer that went out, flood_end says
          whether the client closed or the limit came first
  floodline  the same with "HTTP/1.0 200 OK" and filler without a line end
  floodjunk  the same with filler alone, no line end and no status
"""

import email.parser
import email.policy
import fcntl
import http
import json
import os
import re
import socket
import struct
import sys
import termios
import threading
import time

HEAD_LIMIT = 64 * 1024
BODY_LIMIT = 300 * 1024 * 1024
READ_TIMEOUT = 60
FLOOD_LIMIT = 1 << 30
FLOOD_SECONDS = 30
FLOODS = {
    "flood": (b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n", (b"x" * 63 + b"\n") * 1024),
    "floodline": (b"HTTP/1.0 200 OK", b"y" * 65536),
    "floodjunk": (b"", b"z" * 65536),
}


def read_head(conn, exact=False):
    """The header, and the body's bytes that came with it (none when exact)."""
    data = b""
    while b"\r\n\r\n" not in data:
        if len(data) > HEAD_LIMIT:
            raise ValueError("header too long")
        chunk = conn.recv(1 if exact else 65536)
        if not chunk:
            raise ValueError("closed inside the header")
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    return head, body


def content_length(head):
    match = re.search(rb"\r\nContent-Length: (\d+)(\r\n|$)", head)
    length = int(match.group(1)) if match else 0
    if length > BODY_LIMIT:
        raise ValueError("body too long")
    return length


def read_request(conn, keep):
    """The head, and the body (or its length when not kept)."""
    return read_body(conn, *read_head(conn), keep)


def read_body(conn, head, body, keep, record=None):
    """The head, and the body read on from its start (or its length when not
    kept). With a record: 64 KiB at a time with a pause after each, so that
    the client's system holds much of it, counting in the record's
    request_length and body_length what was announced and what came."""
    length = content_length(head)
    received = len(body)
    parts = [body] if keep else []
    if record is not None:
        record["request_length"] = length
    while received < length:
        if record is not None:
            record["body_length"] = received
            time.sleep(0.002)
        chunk = conn.recv(min(1 << 16 if record is not None else 1 << 20, length - received))
        if not chunk:
            raise ValueError("closed inside the body")
        received += len(chunk)
        if keep:
            parts.append(chunk)
    if record is not None:
        record["body_length"] = received
    return head, (b"".join(parts) if keep else received)


def examine(head, body):
    """What the service would see, and every departure from the format."""
    found = {"problems": []}
    problems = found["problems"]
    lines = head.split(b"\r\n")
    found["request_line"] = lines[0].decode("latin-1")
    if not re.fullmatch(rb"POST \S*\?\S* HTTP/1\.0", lines[0]):
        problems.append("request line")
    fields = [line.split(b": ", 1) for line in lines[1:]]
    found["fields"] = [[f[0].decode("latin-1"), f[1].decode("latin-1") if len(f) > 1 else None] for f in fields]
    if [f[0] for f in fields] != [b"Host", b"Content-Type", b"Content-Length"]:
        problems.append("header fields")
        return found
    content_type = fields[1][1]
    if not content_type.startswith(b"multipart/form-data, boundary="):
        problems.append("content type")
        return found
    if int(fields[2][1]) != len(body):
        problems.append("content length")
    boundary = content_type.partition(b"boundary=")[2]
    found["boundary"] = boundary.decode("latin-1")
    if not body.endswith(b"\r\n--" + boundary + b"--"):
        problems.append("closing boundary")
    message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(
        b'Content-Type: multipart/form-data; boundary="' + boundary + b'"\r\n\r\n' + body)
    if message.defects:
        problems.append("body: " + ", ".join(type(d).__name__ for d in message.defects))
    parts = list(message.iter_parts()) if message.is_multipart() else []
    if len(parts) != 1:
        problems.append("%d parts" % len(parts))
        return found
    part = parts[0]
    found["field"] = part.get_param("name", header="content-disposition")
    found["filename"] = part.get_param("filename", header="content-disposition")
    found["content_type"] = part.get_content_type()
    found["payload"] = part.get_payload(decode=True)
    return found


def write_json(outdir, number, record):
    path = os.path.join(outdir, "%d.json" % number)
    with open(path + ".tmp", "w") as f:
        json.dump(record, f)
    os.replace(path + ".tmp", path)


def answer(conn, record, data):
    record["answered"] = time.monotonic()
    conn.sendall(data)


def flood(conn, record, start, filler):
    """Sends start, then filler again and again, counting what goes out."""
    record["flood_end"] = "limit"
    record["flood_sent"] = 0
    record["answered"] = time.monotonic()
    deadline = record["answered"] + FLOOD_SECONDS
    conn.settimeout(10)  # a client that neither reads nor closes
    data = memoryview(start or filler)
    try:
        while record["flood_sent"] < FLOOD_LIMIT and time.monotonic() < deadline:
            n = conn.send(data[: FLOOD_LIMIT - record["flood_sent"]])
            record["flood_sent"] += n
            data = data[n:] if n < len(data) else memoryview(filler)
    except (ConnectionResetError, BrokenPipeError):
        record["flood_end"] = "client closed"


def reset(conn):
    """Closes with a reset, whatever is left unread."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))


def serve(conn, number, mode, outdir):
    record = {"n": number, "mode": mode, "peer_port": conn.getpeername()[1], "accepted": time.monotonic()}
    conn.settimeout(READ_TIMEOUT)
    try:
        if mode == "drop":
            return
        if mode == "cut":
            head, body = read_head(conn)
            while len(body) < 65536:
                chunk = conn.recv(65536 - len(body))
                if not chunk:
                    break
                body += chunk
            record["body_length"] = len(body)
            return
        if mode == "drain":
            data = bytearray()
            conn.settimeout(None)
            try:
                while True:
                    chunk = conn.recv(1 << 20)
                    if not chunk:
                        break
                    data += chunk if len(data) < HEAD_LIMIT else chunk[:0]
                    record["total_length"] = record.get("total_length", 0) + len(chunk)
            except ConnectionResetError:
                pass
            record.setdefault("total_length", 0)
            match = re.search(rb"\r\nContent-Length: (\d+)\r\n\r\n", bytes(data))
            if match:
                record["request_length"] = match.end() + int(match.group(1))
            record["client_closed"] = True
            return
        if mode == "resethalf":
            head, body = read_head(conn, exact=True)
            record["request_length"] = content_length(head)
            while len(body) < record["request_length"] // 2:
                chunk = conn.recv(record["request_length"] // 2 - len(body))
                if not chunk:
                    break
                body += chunk
            record["body_length"] = len(body)
            reset(conn)
            return
        if mode == "earlynoread":
            head, body = read_head(conn)
            record["request_length"] = content_length(head)
            answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK")
            open(os.path.join(outdir, "%d.answered" % number), "w").close()
            release = os.path.join(outdir, "%d.release" % number)
            deadline = time.monotonic() + READ_TIMEOUT
            while not os.path.exists(release) and time.monotonic() < deadline:
                time.sleep(0.01)
            queued = struct.unpack("i", fcntl.ioctl(conn, termios.FIONREAD, b"\0" * 4))[0]
            record["body_length"] = len(body)
            record["queued_length"] = queued
            reset(conn)
            return
        if mode == "chatter":
            head, body = read_head(conn)
            length = content_length(head)
            answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n")
            record["chatter_sent"] = 0
            parts = [body]
            received = len(body)
            while received < length:
                time.sleep(0.005)
                chunk = conn.recv(min(1 << 14, length - received))
                if not chunk:
                    raise ValueError("closed inside the body")
                received += len(chunk)
                parts.append(chunk)
                conn.sendall(b"c" * 2048)
                record["chatter_sent"] += 2048
            body = b"".join(parts)
            for _ in range(10):
                time.sleep(0.01)
                conn.sendall(b"c" * 2048)
                record["chatter_sent"] += 2048
        elif mode == "early":
            head, body = read_head(conn)
            answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + b"e" * 65536)
            head, body = read_body(conn, head, body, keep=True, record=record)
        else:
            head, body = read_request(conn, keep=(mode != "count"))
        if mode == "count":
            record["body_length"] = body
        else:
            with open(os.path.join(outdir, "%d.raw" % number), "wb") as f:
                f.write(head + b"\r\n\r\n" + body)
            found = examine(head, body)
            payload = found.pop("payload", None)
            if payload is not None:
                with open(os.path.join(outdir, "%d.payload" % number), "wb") as f:
                    f.write(payload)
            record.update(found)
        if mode in ("stall", "late"):
            conn.settimeout(None)
            while conn.recv(65536):
                pass
            record["client_closed"] = True
            if mode == "late":
                answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>OK</body></html>")
        elif mode in ("close", "early", "chatter"):
            pass
        elif re.fullmatch(r"\d{3}", mode):
            code = int(mode)
            phrase = http.HTTPStatus(code).phrase.encode() if code in http.HTTPStatus._value2member_map_ else b"Odd"
            location = b"Location: /VSH-APRV/elsewhere.php\r\n" if 300 <= code < 400 else b""
            answer(conn, record, b"HTTP/1.0 %d %s\r\n%sContent-Length: 0\r\n\r\n" % (code, phrase, location))
        elif mode == "nothttp":
            answer(conn, record, b"<html><body>OK</body></html>")
        elif mode == "long":
            answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + b"x\r\n" * (256 * 1024 // 3))
        elif mode in FLOODS:
            flood(conn, record, *FLOODS[mode])
        else:
            answer(conn, record, b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>OK</body></html>")
    except (OSError, ValueError) as error:
        record["error"] = str(error)
    finally:
        conn.close()
        record["closed"] = time.monotonic()
        write_json(outdir, number, record)


def main():
    outdir = sys.argv[1]
    modes = {}
    for arg in sys.argv[2:]:
        number, _, mode = arg.partition("=")
        modes[int(number)] = mode
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    port = listener.getsockname()[1]
    # Refused from the first connection on: closed before the client can know the port.
    if modes.get(1) == "refuse":
        listener.close()
    print(port, flush=True)
    number = 0
    while True:
        number += 1
        mode = modes.get(number, "ok")
        if mode == "refuse":
            listener.close()
            threading.Event().wait()
        conn, _ = listener.accept()
        threading.Thread(target=serve, args=(conn, number, mode, outdir), daemon=True).start()


if __name__ == "__main__":
    main()
