# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Xfce window manager on a private X server: its own session bus and settings store,
a home inside the test's temporary directory, plain X clients to frame, and where xfwm4 put
each frame and its buttons."""

import os
import struct
import subprocess
import time

from e2elib import Failure, XServer, end_process, run, wait_until
from pictures import RgbFrame

FONT_DIRS = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation"]
FONT_RULES = "/usr/share/fontconfig/conf.avail/"
FONT_RULE_FILES = [
    "10-hinting-slight.conf", "10-scale-bitmap-fonts.conf", "10-yes-antialias.conf",
    "11-lcdfilter-default.conf", "30-metric-aliases.conf", "40-nonlatin.conf", "45-generic.conf",
    "45-latin.conf", "48-spacing.conf", "49-sansserif.conf", "60-generic.conf", "60-latin.conf",
    "90-synthetic.conf"]

TOOLS = {"Xvfb": "xvfb", "xfwm4": "xfwm4", "xfconf-query": "xfconf",
         "dbus-run-session": "dbus-daemon", "xmessage": "x11-utils", "xwininfo": "x11-utils",
         "xprop": "x11-utils", "xsetroot": "x11-xserver-utils", "xdotool": "xdotool",
         "xwd": "x11-apps"}


def grab_root(env):
    """The screen through xwd, which starts ten times faster than ImageMagick's import: the
    checks grab the screen some forty times a style."""
    data = subprocess.run(["xwd", "-root", "-silent"], env=env, check=True,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout
    header = struct.unpack(">25I", data[:100])
    size, width, height = header[0], header[4], header[5]
    byte_order, bits, stride, colours = header[7], header[11], header[12], header[19]
    if bits != 32 or byte_order != 0:
        raise Failure("xwd gave %d bits a pixel in byte order %d, expected 32 in LSB first"
                      % (bits, byte_order))
    pixels = data[size + 12 * colours:]
    if stride != 4 * width:
        pixels = b"".join(pixels[y * stride:y * stride + 4 * width] for y in range(height))
    rgb = bytearray(3 * width * height)
    rgb[0::3] = pixels[2::4]
    rgb[1::3] = pixels[1::4]
    rgb[2::3] = pixels[0::4]
    return RgbFrame(width, height, bytes(rgb))


def font_config(directory):
    """Only the fonts tools/test.sh installs, so the title text does not follow the machine."""
    parts = ['<?xml version="1.0"?>', '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">',
             "<fontconfig>"]
    for font_dir in FONT_DIRS:
        if not os.path.isdir(font_dir):
            raise Failure("%s is missing: install fonts-dejavu-core and fonts-liberation"
                          % font_dir)
        parts.append("  <dir>%s</dir>" % font_dir)
    for name in FONT_RULE_FILES:
        if not os.path.exists(FONT_RULES + name):
            raise Failure("%s%s is missing: install fontconfig-config" % (FONT_RULES, name))
        parts.append("  <include>%s%s</include>" % (FONT_RULES, name))
    parts.append("  <cachedir>%s/cache</cachedir>" % directory)
    parts.append("</fontconfig>")
    path = os.path.join(directory, "fonts.conf")
    with open(path, "w") as f:
        f.write("\n".join(parts) + "\n")
    return path


class Client:
    """An xmessage window of a given client size, and the frame xfwm4 put around it."""

    def __init__(self, desktop, title, width, height, x, y, background):
        self.desktop = desktop
        desktop.mapped += 1
        self.tag = "framewright-client-%d" % desktop.mapped
        self.process = subprocess.Popen(
            ["xmessage", "-geometry", "%dx%d+%d+%d" % (width, height, x, y), "-title", self.tag,
             "-xrm", "*background: #%02x%02x%02x" % background, ""],
            env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            stdin=subprocess.DEVNULL)
        self.window = wait_until("the window \"%s\"" % title, self._find, 10.0)
        self.frame = wait_until("xfwm4's frame around \"%s\"" % title, self._framed, 10.0)
        self.rename(title)

    def _find(self):
        if self.process.poll() is not None:
            raise Failure("xmessage ended with status %s" % self.process.returncode)
        # xmessage sets no _NET_WM_PID: its unique title finds it.
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                               "^%s$" % self.tag],
                              env=self.desktop.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True)
        ids = done.stdout.split()
        return int(ids[0]) if ids else None

    def _framed(self):
        parent = self.desktop.parent(self.window)
        if parent is None or parent == self.desktop.root:
            return None
        extents = self.desktop.x.tool("xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS")
        if "=" not in extents:
            return None
        # The frame is the top-level ancestor: the client sits in a wrapper window of xfwm4's.
        window = parent
        while True:
            up = self.desktop.parent(window)
            if up is None or up == self.desktop.root:
                return window
            window = up

    def geometry(self):
        """The frame's position and size on the screen."""
        return self.desktop.x.geometry(self.frame)[:4]

    def extents(self):
        """left, right, top, bottom, as xfwm4 announces them."""
        text = self.desktop.x.tool("xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS")
        return tuple(int(v) for v in text.split("=", 1)[1].split(","))

    def rename(self, title):
        self.desktop.x.xdotool("set_window", "--name", title, self.window)
        self.title = title

    def stop(self):
        end_process(self.process)


class Desktop:
    """Xvfb, a session bus and xfwm4 with HOME and the XDG folders in workdir."""

    def __init__(self, workdir, size):
        self.workdir = workdir
        home = os.path.join(workdir, "home")
        self.config = os.path.join(home, ".config")
        self.data = os.path.join(home, ".local", "share")
        runtime = os.path.join(workdir, "runtime")
        for path in (self.config, self.data, os.path.join(home, ".cache")):
            os.makedirs(path, exist_ok=True)
        os.makedirs(runtime, 0o700, exist_ok=True)
        self.x = XServer(workdir, size)
        self.bus = None
        self.wm = None
        self.clients = []
        # Every client's title is unique for the whole run, so that a closing one is not found.
        self.mapped = 0
        env = dict(self.x.env, HOME=home, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=runtime,
                   FONTCONFIG_FILE=font_config(workdir), LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   XDG_CONFIG_DIRS="/etc/xdg", XDG_DATA_DIRS="/usr/share")
        for name in ("GDK_SCALE", "GDK_DPI_SCALE", "GTK_THEME", "DBUS_SESSION_BUS_ADDRESS",
                     "XAUTHORITY", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE"):
            env.pop(name, None)
        # The bus lives as long as the shell that prints its address waits on our pipe.
        self.bus = subprocess.Popen(
            ["dbus-run-session", "--", "sh", "-c",
             'printf "%s\\n" "$DBUS_SESSION_BUS_ADDRESS"; exec cat >/dev/null'],
            env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = self.bus.stdout.readline().decode().strip()
        if not address:
            raise Failure("dbus-run-session gave no session bus address")
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env = env
        self.x.env = env
        self.root = int(self.x.tool("xwininfo", "-root").split("Window id:")[1].split()[0], 16)
        self.log_path = os.path.join(workdir, "xfwm4.log")

    def parent(self, window):
        text = self.x.tool("xwininfo", "-children", "-id", str(window))
        for line in text.splitlines():
            if "Parent window id:" in line:
                return int(line.split("Parent window id:")[1].split()[0], 16)
        return None

    def set(self, prop, kind, value):
        run(["xfconf-query", "-c", "xfwm4", "-p", prop, "-n", "-t", kind, "-s", str(value)],
            env=self.env)

    def get(self, prop):
        return run(["xfconf-query", "-c", "xfwm4", "-p", prop], env=self.env).strip()

    def start_wm(self):
        self.log = open(self.log_path, "a")
        self.wm = subprocess.Popen(["xfwm4", "--compositor=off"], env=self.env,
                                   stdout=self.log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, cwd=self.workdir)

        def running():
            if self.wm.poll() is not None:
                raise Failure("xfwm4 ended with status %s:\n%s" % (self.wm.returncode,
                                                                  self.wm_output()))
            return "window id" in self.x.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")

        wait_until("xfwm4 to manage the screen", running, 20.0)

    def stop_wm(self):
        end_process(self.wm)
        self.log.close()
        self.wm = None

    def wm_output(self):
        with open(self.log_path) as f:
            return f.read()

    def backdrop(self, colour):
        self.x.tool("xsetroot", "-solid", "#%02x%02x%02x" % colour)

    def client(self, title, width, height, x, y, background=(255, 255, 255)):
        client = Client(self, title, width, height, x, y, background)
        self.clients.append(client)
        return client

    def focus(self, client):
        self.x.xdotool("windowactivate", "--sync", client.window)

    def grab(self):
        return grab_root(self.env)

    def settle(self, seconds=0.15):
        # xfwm4 redraws a frame from its own idle handler, after the event that changed it.
        self.x.tool("xprop", "-root", "_NET_ACTIVE_WINDOW")
        time.sleep(seconds)

    def stop(self):
        for client in self.clients:
            client.stop()
        if self.wm is not None:
            end_process(self.wm)
            self.log.close()
        if self.bus is not None:
            self.bus.stdin.close()
            try:
                self.bus.wait(10)
            except subprocess.TimeoutExpired:
                self.bus.kill()
                self.bus.wait()
        self.x.stop()
