"""A handler for `python3 -m aiosmtpd -c smtp_store.StoringHandler FOLDER`.

Every message the server takes is kept in FOLDER as NNN.eml (the content exactly as received,
after the transparency dots are taken off) and NNN.env (the envelope as JSON). Recipients whose
address begins with "reject" are refused.
"""
import json
import os


class StoringHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    @classmethod
    def from_cli(cls, parser, *args):
        if len(args) != 1:
            parser.error("StoringHandler takes the folder to store messages in")
        return cls(args[0])

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("reject"):
            return "550 5.1.1 mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "%03d" % self.count)
        with open(base + ".env", "w") as env:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos}, env)
        # Written under a temporary name and renamed: a reader never sees half a message.
        with open(base + ".tmp", "wb") as content:
            content.write(envelope.original_content)
        os.rename(base + ".tmp", base + ".eml")
        return "250 2.0.0 Message accepted for delivery"
