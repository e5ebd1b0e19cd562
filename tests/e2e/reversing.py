"""Screen checks shared by the end-to-end walks of the two forward/reverse windows."""
import time

from trainer import MOTION_SHARE, changed_share


def bare_points(form, wire):
    """Points along a wire bar's middle line that no terminal, button or label covers (short
    bars lie largely under terminals). Crossing bars are left in: some bars lie wholly under
    terminals and bars of their own group and are only seen there."""
    x, y, w, h = form.rect(wire)
    if h > w:
        line = [(x + w // 2, y + k) for k in range(0, h, 2)]
    else:
        line = [(x + k, y + h // 2) for k in range(0, w, 2)]
    others = [form.rect(n) for n in form.order
              if form.controls[n]["kind"] not in ("picturebox", "transparent", "wire")]
    return [(px, py) for px, py in line
            if not any(ox <= px < ox + ow and oy <= py < oy + oh for ox, oy, ow, oh in others)]


def visible_wires(form):
    """Wires with a bare point; a bar that lies wholly under a terminal cannot be seen."""
    return {w for w in form.wires() if bare_points(form, w)}


def shown_wires(t, window, fresh, img):
    """Wires drawn in `img`: most of a bar's bare points differ from `fresh`, a screenshot of the
    window just opened, with every wire hidden."""
    form = t.form(window)
    shown = set()
    for wire in visible_wires(form):
        points = bare_points(form, wire)
        before = [fresh.pixel(x, y) for x, y in points]
        after = [img.pixel(x, y) for x, y in points]
        if changed_share(before, after) >= 0.5:
            shown.add(wire)
    return shown


def region(t, window, img, control):
    return img.region(t.form(window).rect(control))


def has_colour(pixels, want):
    """Enough pixels of pure red or pure green for a status text in that colour."""
    def match(p):
        r, g, b = p
        return (g > 160 and r < 90 and b < 90) if want == "green" else \
               (r > 160 and g < 90 and b < 90)
    return sum(1 for p in pixels if match(p)) >= 20


def animates(t, window, control):
    """The motor in the box visibly turns: a good share of it changes within 0.35 s."""
    return t.motion(window, control) >= MOTION_SHARE


def still(t, window, control):
    """Nothing at all in the box changes within 0.35 s."""
    return t.motion(window, control) == 0


def same_picture(t, window, before, after, control):
    return changed_share(region(t, window, before, control),
                         region(t, window, after, control)) < 0.002


def remove_mode_ticked(t, window, img):
    """Dark tick pixels inside the check box's indicator (the focus frame around it is left
    out)."""
    x, y, w, h = t.form(window).rect("选择框")
    inside = img.region((x + 4, y + h // 2 - 3, 7, 6))
    return sum(1 for r, g, b in inside if r + g + b < 200) >= 6


def toggle_remove_mode(t, window):
    # The check box has no caption: click its indicator at the left end.
    x, y, w, h = t.form(window).rect("选择框")
    t.click_at(x + 8, y + h // 2)
