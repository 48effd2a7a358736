"""An SMTP server for the tests of the encrypted conversation.

    smtp_tls_server.py MODE PORT FOLDER CERT KEY

MODE "starttls": STARTTLS offered, the log-in offered and taken only once encrypted.
MODE "implicit": TLS from the first byte, the log-in offered inside it.
MODE "plain": no STARTTLS, and the log-in offered in the clear, as a careless server would.

Every mode requires the log-in before MAIL; the one account is ann / s3cret. The server listens
on 127.0.0.1:PORT (0: a free port) and writes the port to FOLDER/port once it listens. Messages
are stored as smtp_store.StoringHandler stores them. FOLDER/commands.log gets a line for every
command, its verb and whether it came encrypted ("EHLO plain", "AUTH tls"), and one for every
handshake with the name the client asked for ("SNI localhost", "SNI None"), and "closed" when
a connection ends.
"""
import asyncio
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

from smtp_store import StoringHandler


def main():
    mode, port, folder, cert, key = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
    journal_path = os.path.join(folder, "commands.log")

    def journal(line):
        with open(journal_path, "a") as out:
            out.write(line + "\n")

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    context.sni_callback = lambda ssl_object, name, ctx: journal("SNI %s" % name)

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = isinstance(auth_data, LoginPassword) and auth_data.login == b"ann" and auth_data.password == b"s3cret"
        # handled=False: the server answers a refusal with its 535 itself.
        return AuthResult(success=ok, handled=False)

    class RecordingSMTP(SMTP):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, **kwargs)
            for name, method in list(self._smtp_methods.items()):
                self._smtp_methods[name] = self._recorded(name, method)

        def _recorded(self, name, method):
            async def call(arg):
                encrypted = self.transport.get_extra_info("ssl_object") is not None
                journal("%s %s" % (name, "tls" if encrypted else "plain"))
                return await method(arg)

            return call

        def connection_lost(self, error):
            journal("closed")
            super().connection_lost(error)

    handler = StoringHandler(folder)
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    def factory():
        return RecordingSMTP(
            handler,
            hostname="mx.test",
            loop=loop,
            authenticator=authenticate,
            auth_required=True,
            # Inside implicit TLS the whole connection is encrypted; "plain" offers the log-in bare.
            auth_require_tls=(mode == "starttls"),
            tls_context=context if mode == "starttls" else None,
        )

    server = loop.run_until_complete(
        loop.create_server(factory, host="127.0.0.1", port=port, ssl=context if mode == "implicit" else None)
    )
    chosen = server.sockets[0].getsockname()[1]
    with open(os.path.join(folder, "port.tmp"), "w") as out:
        out.write(str(chosen))
    os.rename(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
    loop.run_forever()


if __name__ == "__main__":
    main()
