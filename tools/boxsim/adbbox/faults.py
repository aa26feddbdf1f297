"""Misbehaviour a box shows on demand, written as words such as "stall:5" or "drop:65536"."""

from dataclasses import dataclass

FAULT_HELP = ("refuse: nothing listens (connections are refused); "
              "reset: accept, then reset the connection; "
              "close: accept, then close it at once; "
              "stall:N: accept, then say nothing for N seconds before the handshake; "
              "stall-service:N: wait N seconds before answering each service request; "
              "drop:K: reset the connection after K bytes of a push, a streamed install or a pull; "
              "hang: complete the handshake, then answer nothing at all; "
              "flood: after the handshake, send stream data without end, as fast as the host takes it, "
              "and answer each service with it; "
              "trickle: answer each service with one byte a second, without end; "
              "flood-upload:N: answer each write of a push or a streamed install with N writes of the "
              "largest size, sent without waiting for the host; "
              "keep:PACKAGE: refuse to uninstall the package (a device policy keeps it); may be repeated")


class DropConnection(Exception):
    """Raised inside a transfer to cut the connection at once, as a box that lost power would."""


@dataclass(frozen=True)
class Faults:
    refuse: bool = False
    reset: bool = False
    close: bool = False
    stall: float = 0.0
    stall_service: float = 0.0
    drop_after: int = None  # bytes of a push, a streamed install or a pull
    hang: bool = False
    flood: bool = False
    trickle: bool = False
    flood_upload: int = 0
    keep: tuple = ()

    def check_transfer(self, transferred):
        if self.drop_after is not None and transferred >= self.drop_after:
            raise DropConnection(f"dropped after {transferred} bytes")


def parse_faults(words):
    """Faults from a list of words such as "stall:5"; raises ValueError on one it does not know."""
    settings = {}
    for word in words:
        name, _, value = word.partition(":")
        if name in ("refuse", "reset", "close", "hang", "flood", "trickle") and not value:
            settings[name] = True
        elif name in ("stall", "stall-service") and _is_number(value):
            settings[name.replace("-", "_")] = float(value)
        elif name == "drop" and value.isdigit():
            settings["drop_after"] = int(value)
        elif name == "flood-upload" and value.isdigit():
            settings["flood_upload"] = int(value)
        elif name == "keep" and value:
            settings["keep"] = settings.get("keep", ()) + (value,)
        else:
            raise ValueError(f"unknown fault {word!r} ({FAULT_HELP})")
    return Faults(**settings)


def _is_number(text):
    try:
        return float(text) >= 0
    except ValueError:
        return False
