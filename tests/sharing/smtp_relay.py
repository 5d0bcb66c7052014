#!/usr/bin/python3
"""Loopback SMTP relay that needs a login, for the notice mail.

usage: smtp_relay.py OUTDIR [silent|mute|mute-quit]

Prints its port (127.0.0.1, a free one) as its first line. It offers AUTH
LOGIN and PLAIN without TLS, advertises STARTTLS without being able to do it,
accepts every login and records each mail as OUTDIR/mail-N.json: the login
mechanism, the login, the password, whether STARTTLS was tried, the envelope
and the content.
"silent" accepts connections and never says a word.
"mute" records the mail and then never answers again: no reply to the
message's final ".", none to QUIT.
"mute-quit" takes the mail as usual and never answers QUIT.
"""

import asyncio
import json
import logging
import os
import sys

from aiosmtpd.smtp import SMTP, AuthResult

logging.getLogger("mail.log").setLevel(logging.ERROR)


class Recorder:
    def __init__(self, outdir, mode):
        self.outdir = outdir
        self.mode = mode
        self.count = 0

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        return responses[:-1] + ["250-STARTTLS"] + responses[-1:]

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        login = session.auth_data
        record = {
            "mechanism": getattr(session, "auth_mechanism", None),
            "login": login.login.decode("latin-1") if login else None,
            "password": login.password.decode("latin-1") if login else None,
            "starttls_tried": getattr(session, "starttls_tried", False),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "content": envelope.original_content.decode("latin-1"),
        }
        path = os.path.join(self.outdir, "mail-%d.json" % self.count)
        with open(path + ".tmp", "w") as f:
            json.dump(record, f)
        os.replace(path + ".tmp", path)
        if self.mode == "mute":
            await asyncio.Event().wait()
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        if self.mode == "mute-quit":
            await asyncio.Event().wait()
        return "221 Bye"


class RecordingSMTP(SMTP):
    async def smtp_STARTTLS(self, arg):
        self.session.starttls_tried = True
        await self.push("454 TLS not available")


def accept_all(server, session, envelope, mechanism, auth_data):
    session.auth_mechanism = mechanism
    return AuthResult(success=True, auth_data=auth_data)


async def silent(reader, writer):
    await reader.read()
    writer.close()


async def main():
    outdir = sys.argv[1]
    loop = asyncio.get_running_loop()
    mode = sys.argv[2] if len(sys.argv) > 2 else ""
    if mode == "silent":
        server = await asyncio.start_server(silent, "127.0.0.1", 0)
    else:
        handler = Recorder(outdir, mode)
        server = await loop.create_server(
            lambda: RecordingSMTP(handler, authenticator=accept_all, auth_require_tls=False),
            "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
