"""Reader of Android binary XML, the form AndroidManifest.xml takes inside an APK."""

import struct
from dataclasses import dataclass, field

RES_STRING_POOL_TYPE = 0x0001
RES_XML_TYPE = 0x0003
RES_XML_START_NAMESPACE_TYPE = 0x0100
RES_XML_END_NAMESPACE_TYPE = 0x0101
RES_XML_START_ELEMENT_TYPE = 0x0102
RES_XML_END_ELEMENT_TYPE = 0x0103
RES_XML_RESOURCE_MAP_TYPE = 0x0180

UTF8_FLAG = 0x100
NO_INDEX = 0xFFFFFFFF

TYPE_STRING = 0x03
TYPE_INT_DEC = 0x10
TYPE_INT_BOOLEAN = 0x12

_CHUNK = struct.Struct("<HHI")
_POOL = struct.Struct("<IIIII")
_NODE = struct.Struct("<II")
_ELEMENT = struct.Struct("<IIHHHHHH")
_ATTRIBUTE = struct.Struct("<IIIHBBI")


class BinaryXmlError(ValueError):
    """The data is not well-formed Android binary XML."""


@dataclass
class Attribute:
    namespace: str
    name: str
    resource_id: int
    value: object  # str for strings, int for numbers and booleans and references


@dataclass
class Element:
    name: str
    depth: int
    attributes: list = field(default_factory=list)

    def attribute(self, name, resource_id=None):
        """Finds an attribute by resource id when it has one (as Android does), else by name."""
        for attribute in self.attributes:
            if resource_id is not None and attribute.resource_id == resource_id:
                return attribute
        for attribute in self.attributes:
            if attribute.name == name:
                return attribute
        return None


def parse(data):
    """Returns the document's elements in document order."""
    data = bytes(data)
    kind, header_size, size = _chunk_at(data, 0)
    if kind != RES_XML_TYPE or size > len(data):
        raise BinaryXmlError("not a binary XML document")
    strings, resource_ids, elements, depth = [], [], [], 0
    offset = header_size
    while offset < size:
        kind, header_size, chunk_size = _chunk_at(data, offset)
        if chunk_size < header_size or offset + chunk_size > size:
            raise BinaryXmlError(f"chunk at {offset} overruns the document")
        chunk = data[offset:offset + chunk_size]
        if kind == RES_STRING_POOL_TYPE:
            strings = _string_pool(chunk, header_size)
        elif kind == RES_XML_RESOURCE_MAP_TYPE:
            count = (chunk_size - header_size) // 4
            resource_ids = list(struct.unpack_from(f"<{count}I", chunk, header_size))
        elif kind == RES_XML_START_ELEMENT_TYPE:
            elements.append(_element(chunk, header_size, strings, resource_ids, depth))
            depth += 1
        elif kind == RES_XML_END_ELEMENT_TYPE:
            depth -= 1
        offset += chunk_size
    return elements


def _chunk_at(data, offset):
    if offset + _CHUNK.size > len(data):
        raise BinaryXmlError(f"truncated chunk header at {offset}")
    kind, header_size, size = _CHUNK.unpack_from(data, offset)
    if header_size < _CHUNK.size or size < header_size:
        raise BinaryXmlError(f"malformed chunk header at {offset}")
    return kind, header_size, size


def _string_pool(chunk, header_size):
    if header_size < _CHUNK.size + _POOL.size:
        raise BinaryXmlError("string pool header too short")
    count, _styles, flags, strings_start, _styles_start = _POOL.unpack_from(chunk, _CHUNK.size)
    if header_size + 4 * count > len(chunk) or strings_start > len(chunk):
        raise BinaryXmlError("string pool overruns its chunk")
    offsets = struct.unpack_from(f"<{count}I", chunk, header_size)
    read = _utf8_string if flags & UTF8_FLAG else _utf16_string
    return [read(chunk, strings_start + each) for each in offsets]


def _utf8_string(chunk, offset):
    _chars, offset = _utf8_length(chunk, offset)
    length, offset = _utf8_length(chunk, offset)
    _require(chunk, offset + length)
    return chunk[offset:offset + length].decode("utf-8", errors="replace")


def _utf8_length(chunk, offset):
    _require(chunk, offset + 1)
    first = chunk[offset]
    if first & 0x80:
        _require(chunk, offset + 2)
        return ((first & 0x7F) << 8) | chunk[offset + 1], offset + 2
    return first, offset + 1


def _utf16_string(chunk, offset):
    _require(chunk, offset + 2)
    length = struct.unpack_from("<H", chunk, offset)[0]
    offset += 2
    if length & 0x8000:
        _require(chunk, offset + 2)
        length = ((length & 0x7FFF) << 16) | struct.unpack_from("<H", chunk, offset)[0]
        offset += 2
    _require(chunk, offset + 2 * length)
    return chunk[offset:offset + 2 * length].decode("utf-16-le", errors="replace")


def _require(chunk, end):
    if end > len(chunk):
        raise BinaryXmlError("string runs past its pool")


def _element(chunk, header_size, strings, resource_ids, depth):
    if header_size + _ELEMENT.size > len(chunk):
        raise BinaryXmlError("element chunk too short")
    _ns, name, attr_start, attr_size, attr_count, _id, _class, _style = _ELEMENT.unpack_from(chunk, header_size)
    if attr_size < _ATTRIBUTE.size:
        raise BinaryXmlError("attribute records too small")
    element = Element(_string(strings, name), depth)
    first = header_size + attr_start
    for index in range(attr_count):
        offset = first + index * attr_size
        if offset + _ATTRIBUTE.size > len(chunk):
            raise BinaryXmlError("attribute runs past its element")
        ns, name, raw, _value_size, _res0, data_type, data = _ATTRIBUTE.unpack_from(chunk, offset)
        element.attributes.append(Attribute(
            namespace=_string(strings, ns) if ns != NO_INDEX else "",
            name=_string(strings, name),
            resource_id=resource_ids[name] if name < len(resource_ids) else None,
            value=_typed_value(strings, raw, data_type, data)))
    return element


def _typed_value(strings, raw, data_type, data):
    if data_type == TYPE_STRING:
        return _string(strings, data)
    if data_type == TYPE_INT_DEC:
        return data - (1 << 32) if data & 0x80000000 else data
    if data_type == TYPE_INT_BOOLEAN:
        return data != 0
    if raw != NO_INDEX:
        return _string(strings, raw)
    return data


def _string(strings, index):
    if index >= len(strings):
        raise BinaryXmlError(f"string index {index} outside the pool of {len(strings)}")
    return strings[index]
