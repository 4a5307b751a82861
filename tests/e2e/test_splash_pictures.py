"""Splash pictures beyond plain bitmaps: a PNG with an alpha channel on a layered window, shown
against a coloured desktop; opaque pictures keep the plain bitmap window."""
import ctypes
import shutil
import subprocess
import time

import pytest
from PIL import Image, ImageDraw

from wine_session import BUILD
from wine_session import windows_path as w

ADD_BITMAP = BUILD / "x86_64" / "add_bitmap.exe"
SCREENSHOTS = BUILD / "screenshots"
SCREEN = (1024, 768)
WS_EX_LAYERED = 0x80000
DESKTOP = (200, 40, 40)  # the desktop colour the alpha lets through
PICTURE = (40, 90, 200)
SIZE = (160, 100)
SPLASH_FAILED = "Cannot load splash screen. Probably unsupported or invalid file."


def translucent_png(path):
    """Opaque blue in the middle, a half-transparent band at the bottom, clear rounded corners."""
    image = Image.new("RGBA", SIZE, (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([0, 0, SIZE[0] - 1, SIZE[1] - 1], radius=30, fill=PICTURE + (255,))
    draw.rectangle([30, 70, SIZE[0] - 31, SIZE[1] - 1], fill=PICTURE + (128,))
    image.save(path, format="PNG")
    return path


def paint_desktop(display_name, rgb):
    """Fills the X desktop with one colour as desktop setters do: a pixmap as the root window's
    background, named by _XROOTPMAP_ID, which compositing managers paint beneath the windows."""
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    dpy = x.XOpenDisplay(display_name.encode())
    assert dpy
    for name, res, args in [
        ("XDefaultScreen", ctypes.c_int, [ctypes.c_void_p]),
        ("XRootWindow", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_int]),
        ("XDisplayWidth", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XDisplayHeight", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XDefaultDepth", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XCreatePixmap", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint]),
        ("XCreateGC", ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]),
        ("XSetForeground", ctypes.c_int, [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_ulong]),
        ("XFillRectangle", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint]),
        ("XInternAtom", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
        ("XChangeProperty", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]),
        ("XSetWindowBackgroundPixmap", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]),
        ("XClearWindow", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong]),
        ("XSetCloseDownMode", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XCloseDisplay", ctypes.c_int, [ctypes.c_void_p]),
    ]:
        getattr(x, name).restype = res
        getattr(x, name).argtypes = args
    screen = x.XDefaultScreen(dpy)
    root = x.XRootWindow(dpy, screen)
    w, h = x.XDisplayWidth(dpy, screen), x.XDisplayHeight(dpy, screen)
    pixmap = x.XCreatePixmap(dpy, root, w, h, x.XDefaultDepth(dpy, screen))
    gc = x.XCreateGC(dpy, pixmap, 0, None)
    x.XSetForeground(dpy, gc, (rgb[0] << 16) | (rgb[1] << 8) | rgb[2])
    x.XFillRectangle(dpy, pixmap, gc, 0, 0, w, h)
    XA_PIXMAP = 20
    value = ctypes.c_ulong(pixmap)
    x.XChangeProperty(dpy, root, x.XInternAtom(dpy, b"_XROOTPMAP_ID", 0), XA_PIXMAP, 32, 0, ctypes.byref(value), 1)
    x.XSetWindowBackgroundPixmap(dpy, root, pixmap)
    x.XClearWindow(dpy, root)
    x.XSetCloseDownMode(dpy, 1)  # RetainPermanent: the pixmap outlives this connection
    x.XCloseDisplay(dpy)


@pytest.fixture
def coloured_desktop(wine_session):
    """A compositing manager, which blends layered windows with what lies beneath them (X has
    none of its own), over a desktop of one colour."""
    assert shutil.which("xcompmgr"), "xcompmgr is missing: run tools/install-deps"
    display = wine_session.env["DISPLAY"]
    compositor = subprocess.Popen(["xcompmgr"], env={"DISPLAY": display}, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    paint_desktop(display, DESKTOP)
    yield
    paint_desktop(display, (0, 0, 0))
    compositor.terminate()
    compositor.wait(timeout=10)


def launcher(scenario, picture, **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "splash": "on", "splash_seconds": "2"}
    values.update(settings)
    app = scenario.launcher(values, splash=picture)
    scenario.java_home(app.parent / "jre", run_ms=6000)
    return app


def test_png_with_alpha_shows_a_layered_window_the_desktop_shows_through(scenario, tmp_path, coloured_desktop):
    app = launcher(scenario, translucent_png(tmp_path / "splash.png"))
    shot = scenario.dir / "splash.bmp"
    run = scenario.run(app, splash_shot=shot)
    assert run.exit_code == 0
    assert int(run.splash["exstyle"]) & WS_EX_LAYERED
    assert run.splash["rect"] == f"{(SCREEN[0] - SIZE[0]) // 2},{(SCREEN[1] - SIZE[1]) // 2},{SIZE[0]},{SIZE[1]}"
    image = Image.open(shot).convert("RGB")
    assert image.size == SIZE
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    image.save(SCREENSHOTS / "splash-translucent.png")
    middle, corner, band = image.getpixel((80, 35)), image.getpixel((1, 1)), image.getpixel((80, 90))
    assert all(abs(a - b) <= 8 for a, b in zip(middle, PICTURE)), middle
    assert all(abs(a - b) <= 8 for a, b in zip(corner, DESKTOP)), corner
    half = [(p + d) / 2 for p, d in zip(PICTURE, DESKTOP)]
    assert all(abs(a - b) <= 12 for a, b in zip(band, half)), band


@pytest.mark.parametrize("format", ["BMP", "PNG"])
def test_opaque_pictures_keep_the_plain_bitmap_window(scenario, tmp_path, format):
    picture = tmp_path / f"splash.{format.lower()}"
    Image.new("RGB", (75, 41), PICTURE).save(picture, format=format)
    run = scenario.run(launcher(scenario, picture))
    assert run.exit_code == 0
    assert int(run.splash["exstyle"]) & WS_EX_LAYERED == 0
    assert run.splash["rect"] == f"{(SCREEN[0] - 75) // 2},{(SCREEN[1] - 41) // 2},75,41"


def test_translucent_png_whose_pixels_do_not_decode_is_reported_and_nothing_starts(scenario, tmp_path):
    # Its chunks are whole (the configuration tool refuses a PNG cut short); its pixel data is not.
    picture = translucent_png(tmp_path / "whole.png").read_bytes()
    broken, at = bytearray(picture[:8]), 8
    while at < len(picture):
        length = int.from_bytes(picture[at:at + 4], "big")
        kind, data = picture[at + 4:at + 8], picture[at + 8:at + 8 + length]
        if kind == b"IDAT":
            data = bytes(0xA5 for _ in data)
        broken += length.to_bytes(4, "big") + kind + data + picture[at + 8 + length:at + 12 + length]
        at += 12 + length
    (tmp_path / "broken.png").write_bytes(bytes(broken))
    run = scenario.run(launcher(scenario, tmp_path / "broken.png"))
    assert [b["text"] for b in run.boxes] == [SPLASH_FAILED]
    assert run.exit_code == 1
    assert run.records == []


@pytest.fixture
def display_at_150_percent(wine_session):
    def set_dpi(value):
        result = wine_session.wine(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                                    "/d", str(value), "/f"])
        assert result.returncode == 0

    set_dpi(144)
    yield
    set_dpi(96)


@pytest.mark.parametrize("second_picture", [False, True])
def test_at_150_percent_the_picture_grows_and_a_second_picture_for_200_percent_is_preferred(
        scenario, wine_session, tmp_path, display_at_150_percent, second_picture):
    normal, sharp = (200, 40, 40), (40, 160, 40)
    Image.new("RGB", (60, 40), normal).save(tmp_path / "normal.png")
    app = launcher(scenario, tmp_path / "normal.png")
    if second_picture:
        Image.new("RGB", (120, 80), sharp).save(tmp_path / "sharp.png")
        added = wine_session.wine([str(ADD_BITMAP), w(app), "105", w(tmp_path / "sharp.png")])
        assert added.returncode == 0, added.stderr
    shot = scenario.dir / "splash.bmp"
    run = scenario.run(app, splash_shot=shot)
    width, height = (int(v) for v in run.splash["screen"].split(","))
    assert run.splash["rect"] == f"{(width - 90) // 2},{(height - 60) // 2},90,60"
    colour = Image.open(shot).convert("RGB").getpixel((45, 30))
    assert all(abs(a - b) <= 8 for a, b in zip(colour, sharp if second_picture else normal)), colour
