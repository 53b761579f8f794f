# Renders the shapes of resources/icons/vell.svg to the PNG icons resources/icons/vell-SIZE.png,
# supersampled, with nothing but the standard library.
# usage: python3 scripts/render-icons.py resources/icons 48 256
import struct, sys, zlib
def render(size, out):
    ss = 4; n = size * ss; k = 256.0 / n
    def col(h): return tuple(int(h[i:i+2], 16) for i in (1, 3, 5))
    shapes = []
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px * ss + sx + 0.5) * k; y = (py * ss + sy + 0.5) * k
                    c = None
                    # outer rounded rect 8..248, radius 36
                    cx = min(max(x, 44), 212); cy = min(max(y, 44), 212)
                    if 8 <= x <= 248 and 8 <= y <= 248 and (x - cx) ** 2 + (y - cy) ** 2 <= 36 ** 2:
                        c = col('#0b5d2a')
                    if 28 <= x <= 228 and 28 <= y <= 228:
                        c = col('#1f9a48')
                        for g in (78, 128, 178):
                            if abs(x - g) <= 2 or abs(y - g) <= 2: c = col('#0b5d2a')
                    for (sx0, sy0, fill, ring) in ((103, 103, '#f4f4f0', True), (153, 153, '#f4f4f0', True),
                                                   (153, 103, '#151515', False), (103, 153, '#151515', False),
                                                   (153, 53, '#151515', False)):
                        d = ((x - sx0) ** 2 + (y - sy0) ** 2) ** 0.5
                        if ring and d <= 21:
                            c = col('#202020') if d > 18 else col(fill)
                        elif not ring and d <= 21:
                            c = col(fill)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 255
            a = acc[3] // (ss * ss)
            if acc[3]:
                row += bytes([acc[0] * 255 // acc[3], acc[1] * 255 // acc[3], acc[2] * 255 // acc[3], a])
            else:
                row += bytes(4)
        rows.append(b'\0' + bytes(row))
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) + \
          chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
    open(out, 'wb').write(png)
for s in map(int, sys.argv[2:]): render(s, '%s/vell-%d.png' % (sys.argv[1], s))
