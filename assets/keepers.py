"""The goalkeeper pictures of the credits game, drawn on a white surround.

gol0.bmp  98 x 82  diving to the left, arms stretched out to the ball
gol1.bmp  67 x 98  jumping straight up, both arms raised
gol2.bmp  98 x 82  diving to the right: the exact mirror image of gol0.bmp
par2.bmp  67 x 98  standing ready, facing the kicker

The game draws them transparently with the colour of the bottom-left pixel as
the key, so that pixel is the surround's pure white and the keeper himself
holds no pixel of it. Edges are hard: a blended edge pixel would be nearly
white and show as a pale fringe over the sky and the grass.
"""

WHITE = (255, 255, 255)
OUTLINE = (30, 30, 34)
SKIN = (222, 170, 128)
HAIR = (70, 44, 24)
JERSEY = (232, 112, 16)
JERSEY_DARK = (186, 80, 8)
SHORTS = (28, 28, 40)
SOCKS = (232, 112, 16)
BOOTS = (20, 20, 20)
GLOVES = (238, 238, 226)


def segment_test(ax, ay, bx, by, r):
    """Points within r of the segment from a to b: a limb with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def test(px, py):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
        qx, qy = ax + t * dx - px, ay + t * dy - py
        return qx * qx + qy * qy <= r * r

    return test


def fill(canvas, test, colour):
    """Sets every pixel whose centre passes the test."""
    for y in range(canvas.height):
        for x in range(canvas.width):
            if test(x + 0.5, y + 0.5):
                canvas.set(x, y, colour)


def part(canvas, points, r, colour):
    """A limb or body part along a polyline, with a dark outline around it."""
    pieces = list(zip(points, points[1:])) or [(points[0], points[0])]
    for width, tint in ((r + 1.3, OUTLINE), (r, colour)):
        for (ax, ay), (bx, by) in pieces:
            fill(canvas, segment_test(ax, ay, bx, by, width), tint)


def head(canvas, cx, cy, up):
    """A round head with hair on its top; up is the unit vector to the crown."""
    part(canvas, [(cx, cy)], 7.5, SKIN)
    ux, uy = up

    def hair(px, py):
        inside = (px - cx) * (px - cx) + (py - cy) * (py - cy) <= 7.5 * 7.5
        return inside and (px - cx) * ux + (py - cy) * uy > 3.5

    fill(canvas, hair, HAIR)


def arm(canvas, points):
    part(canvas, points, 3.2, JERSEY)
    part(canvas, [points[-1]], 4.6, GLOVES)


def leg(canvas, points):
    part(canvas, points[:2], 4.4, SKIN)
    part(canvas, points[1:], 3.8, SOCKS)
    part(canvas, [points[-1]], 3.6, BOOTS)


def torso(canvas, top, bottom, width):
    part(canvas, [top, bottom], width, JERSEY)
    # A darker number on the chest: "1", the keeper's.
    (ax, ay), (bx, by) = top, bottom
    mx, my = ax + (bx - ax) * 0.25, ay + (by - ay) * 0.25
    nx, ny = ax + (bx - ax) * 0.6, ay + (by - ay) * 0.6
    fill(canvas, segment_test(mx, my, nx, ny, 1.6), JERSEY_DARK)


def face(canvas, cx, cy):
    """Eyes and a mouth: the keeper looks at the kicker."""
    for x, y in ((cx - 3, cy + 1), (cx + 2, cy + 1)):
        canvas.set(int(x), int(y), OUTLINE)
        canvas.set(int(x), int(y) + 1, OUTLINE)
    for x in range(int(cx) - 1, int(cx) + 2):
        canvas.set(x, int(cy) + 5, (150, 70, 60))


def shorts(canvas, points, r):
    part(canvas, points, r, SHORTS)


def draw_standing(canvas):
    """Knees bent, weight forward, hands low and wide: ready for the kick."""
    leg(canvas, [(26, 62), (20, 78), (19, 92)])
    leg(canvas, [(41, 62), (47, 78), (48, 92)])
    shorts(canvas, [(27, 58), (40, 58)], 8)
    torso(canvas, (33.5, 28), (33.5, 50), 11)
    arm(canvas, [(23, 28), (13, 42), (9, 56)])
    arm(canvas, [(44, 28), (54, 42), (58, 56)])
    head(canvas, 33.5, 13, (0, -1))
    face(canvas, 33.5, 13)


def draw_jumping(canvas):
    """Off the ground, body straight, both arms reaching above the head."""
    leg(canvas, [(28, 70), (26, 84), (29, 93)])
    leg(canvas, [(39, 70), (41, 84), (38, 93)])
    shorts(canvas, [(28, 66), (39, 66)], 7.5)
    torso(canvas, (33.5, 38), (33.5, 60), 10.5)
    arm(canvas, [(24, 36), (19, 20), (15, 6)])
    arm(canvas, [(43, 36), (48, 20), (52, 6)])
    head(canvas, 33.5, 26, (0, -1))
    face(canvas, 33.5, 26)


def draw_diving_left(canvas):
    """Stretched out in the air towards the left post, head first."""
    leg(canvas, [(64, 49), (79, 54), (93, 51)])
    leg(canvas, [(62, 53), (75, 64), (89, 71)])
    shorts(canvas, [(58, 47), (64, 51)], 8)
    torso(canvas, (31, 33), (56, 45), 10)
    arm(canvas, [(29, 27), (18, 19), (8, 11)])
    arm(canvas, [(31, 37), (19, 31), (9, 25)])
    # Tilted with the dive: the crown points up and to the right.
    head(canvas, 21, 37, (0.866, -0.5))


def mirrored(canvas, blank):
    """A new canvas holding the picture flipped left to right."""
    for y in range(canvas.height):
        for x in range(canvas.width):
            blank.set(canvas.width - 1 - x, y, canvas.get(x, y))
    return blank


def check_keeper(canvas, name, fail):
    """The transparency key: white in the bottom corners, nowhere in the keeper."""
    for x in (0, canvas.width - 1):
        if canvas.get(x, canvas.height - 1) != WHITE:
            fail(f"{name}: bottom corner {x} is not the white transparency key")
    drawn = sum(1 for row in canvas.rows for pixel in row if pixel != WHITE)
    if drawn < canvas.width * canvas.height // 6:
        fail(f"{name}: only {drawn} pixels drawn")


def draw_keepers(new_canvas, fail):
    """The four pictures by file name; new_canvas(width, height) gives a white canvas."""
    gol0 = new_canvas(98, 82)
    draw_diving_left(gol0)
    gol1 = new_canvas(67, 98)
    draw_jumping(gol1)
    par2 = new_canvas(67, 98)
    draw_standing(par2)
    pictures = {
        "gol0.bmp": gol0,
        "gol1.bmp": gol1,
        "gol2.bmp": mirrored(gol0, new_canvas(98, 82)),
        "par2.bmp": par2,
    }
    for name, canvas in pictures.items():
        check_keeper(canvas, name, fail)
    return pictures
