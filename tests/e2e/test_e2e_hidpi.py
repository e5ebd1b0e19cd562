"""A 3840x2160 screen at 200 % (QT_SCALE_FACTOR=2): the pictures are drawn from their full-size
sources at device resolution, not as enlarged copies of a 1x rendering, and clicks still land."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from walk import Trainer  # noqa: E402

# Boxes whose pictures are stored about twice as large as they are shown at 1x.
PICTURES = ["图片框1", "图片框2", "图片框7", "图片框8"]  # switch, contactor, motor, schematic
WINDOW = "ContinuousRunExercise"


def doubling(img):
    """Neighbour pairs that differ inside the 2x2 cells of a doubled picture, against those that
    differ across cell borders. A pixel-doubled picture has none inside; a sharp one about as
    many inside as across."""
    inside = across = 0
    for y in range(0, img.height - 1):
        for x in range(0, img.width - 1):
            p = img.pixel(x, y)
            for q, odd in ((img.pixel(x + 1, y), x % 2), (img.pixel(x, y + 1), y % 2)):
                if max(abs(a - b) for a, b in zip(p, q)) > 8:
                    if odd:
                        across += 1
                    else:
                        inside += 1
    return inside, across


def main():
    with Trainer(screen="3840x2160", env={"QT_SCALE_FACTOR": "2"}) as t:
        menu = t.wait_window((2 * 994, 2 * 491))
        t.place("ExerciseMenu", menu)
        t.click("ExerciseMenu", "长动")  # lands on the button only if clicks map at 2x
        size = t.form(WINDOW).size
        exercise = t.wait_window((2 * size[0], 2 * size[1]))
        t.place(WINDOW, exercise)
        time.sleep(0.5)
        for control in PICTURES:
            x, y, w, h = t.rect(WINDOW, control)
            # Even device coordinates: the cells of a doubled rendering start there.
            x, y = x + x % 2, y + y % 2
            crop = (x + 8, y + 8, min(w, 240) - 16, min(h, 200) - 16)
            inside, across = doubling(t.screenshot(crop))
            print("%s: differing neighbours inside 2x2 cells %d, across %d" %
                  (control, inside, across), flush=True)
            assert across > 50, "nothing drawn in " + control
            assert inside > 0.5 * across, control + " is pixel-doubled"
        t.wm_close(exercise[0])
        t.wait_gone((2 * size[0], 2 * size[1]))
        t.wm_close(menu[0])
        assert t.proc.wait(15) == 0, "the program did not end cleanly"


if __name__ == "__main__":
    main()
