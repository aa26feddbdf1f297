"""Byte counts as people type them on a command line: 4096, 64K, 100M, 2G."""

_UNITS = {"K": 1024, "M": 1024 ** 2, "G": 1024 ** 3}


def parse_size(text):
    scale = _UNITS.get(text[-1:].upper(), 1)
    digits = text[:-1] if scale > 1 else text
    if not digits.isdigit():
        raise ValueError(f"not a size: {text!r}")
    return int(digits) * scale
