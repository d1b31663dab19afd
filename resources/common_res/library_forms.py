"""The stored forms that generators of common_res.dll share.

image_set_container(frames, times): the multi-frame picture container that the library's
multi-frame ids hold: u32 F, F float32 frame times, u32 N, then N embedded resource entries
(id 0, empty library path, the picture bytes, a non-empty name "frame<k>.png").
"""
import struct


def archive_string(text):
    units = text.encode('utf-16-le')
    length = len(units) // 2
    if length < 255:
        header = b'\xff\xfe\xff' + bytes([length])
    elif length < 65535:
        header = b'\xff\xfe\xff\xff' + struct.pack('<H', length)
    else:
        header = b'\xff\xfe\xff\xff\xff\xff' + struct.pack('<I', length)
    return header + units


def embedded_entry(data, name):
    return struct.pack('<i', 0) + archive_string('') + struct.pack('<I', len(data)) + data + \
        archive_string(name)


def image_set_container(frames, times):
    out = struct.pack('<I', len(times)) + b''.join(struct.pack('<f', t) for t in times)
    out += struct.pack('<I', len(frames))
    for k, data in enumerate(frames):
        out += embedded_entry(data, 'frame%d.png' % k)
    return out
