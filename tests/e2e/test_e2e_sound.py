"""Sound, captured: the program runs with SDL's disk audio driver, which writes the mixed output
(48 kHz stereo signed 16-bit, as the program opens the device) to a file in real time. In the
continuous-run window a terminal click alone plays nothing; the power switch plays its closing
sound; the start plays the two start sounds together: the output sounds for as long as the longer
one (6.01 s), its first two seconds are louder than either sound alone (and no louder than both
in phase), and the rest carries the energy of the long sound alone. The expected energies come from the generated WAVE files themselves."""
import array
import math
import os
import sys
import time
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import Trainer  # noqa: E402

RATE = 48000
FRAME = 4  # bytes per stereo S16 frame
BLOCK = RATE // 100  # 10 ms
AUDIBLE = 16  # a block whose largest sample exceeds this is not silence
WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
          "sb2 sb4 c4 sb4 w2 sb3 b4")


def asset_dir():
    here = os.environ.get("WT_ASSET_DIR")
    if here:
        return here
    program = os.environ.get("WT_TRAINER", "")
    return os.path.join(os.path.dirname(program), "generated", "assets")


def mean_square(samples):
    return sum(s * s for s in samples) / len(samples) if samples else 0.0


def wave_energy(name, start, end):
    """Mean square of a generated WAVE file's samples between two times (seconds)."""
    with wave.open(os.path.join(asset_dir(), name)) as w:
        assert w.getsampwidth() == 2, name
        rate, channels = w.getframerate(), w.getnchannels()
        data = array.array("h", w.readframes(w.getnframes()))
    return mean_square(data[int(start * rate) * channels:int(end * rate) * channels])


class Capture:
    """The growing output file of the disk driver."""

    def __init__(self, path):
        self.path = path

    def size(self):
        try:
            return os.path.getsize(self.path) // FRAME * FRAME
        except OSError:
            return 0

    def wait_size(self, size, timeout):
        end = time.time() + timeout
        while self.size() < size:
            assert time.time() < end, "the disk driver stopped writing at %d bytes" % self.size()
            time.sleep(0.05)

    def samples(self, start, end):
        with open(self.path, "rb") as f:
            f.seek(start)
            data = array.array("h", f.read(end - start))
        if sys.byteorder != "little":
            data.byteswap()
        return data

    def after(self, start, seconds):
        """The samples of `seconds` of output from byte offset `start`, once they are written."""
        end = start + int(seconds * RATE) * FRAME
        self.wait_size(end, seconds + 10)
        return self.samples(start, end)


def audible_span(samples):
    """(first, last) audible 10 ms block as sample offsets into `samples`, or None."""
    step = BLOCK * 2
    blocks = [i for i in range(0, len(samples), step)
              if max(abs(s) for s in samples[i:i + step]) > AUDIBLE]
    if not blocks:
        return None
    return blocks[0], blocks[-1] + step


def seconds(n_samples):
    return n_samples / 2 / RATE


def main():
    with Trainer(start_program=False) as t:
        capture = Capture(os.path.join(t.tmp, "output.raw"))
        t.env["SDL_AUDIODRIVER"] = "disk"
        t.env["SDL_DISKAUDIOFILE"] = capture.path
        t.start()
        t.wait_menu()
        # The menu plays nothing: the device opens once the first exercise window has been drawn
        # and writes silence from then on.
        window = t.open_exercise("长动")
        capture.wait_size(RATE * FRAME // 4, 10)
        terminals = WIRING.split()

        mark = capture.size()
        t.click(window, terminals[0])
        quiet = capture.after(mark, 1.0)
        assert audible_span(quiet) is None, "a terminal click made a sound"

        t.click_all(window, " ".join(terminals[1:]))
        mark = capture.size()
        t.click(window, "透明标签1")
        switch = capture.after(mark, 2.0)
        span = audible_span(switch)
        assert span is not None, "closing the power switch made no sound"
        switch_length = seconds(span[1] - span[0])
        assert switch_length < 0.95, "switch sound longer than its 0.91 s"

        mark = capture.size()
        t.click(window, "按钮开")
        output = capture.after(mark, 8.0)
        assert t.titled("^信息：") is None, "the start was refused: wiring incomplete"
        span = audible_span(output)
        assert span is not None, "the start made no sound"
        first, last = span
        assert last < len(output) - RATE // 5, "the start sounds outlast the 8 s captured"
        length = seconds(last - first)
        assert 5.75 <= length <= 6.2, "start sounds last %.2f s, not about 6.01 s" % length

        def energy(start, end):
            return mean_square(output[first + int(start * RATE) * 2:first + int(end * RATE) * 2])

        # Start sound 1 (2.05 s) and the first two seconds of start sound 2 play together: louder
        # than either alone, and no louder than both added sample by sample in phase.
        both = energy(0.05, 1.95)
        one, two = wave_energy("start1.wav", 0.05, 1.95), wave_energy("start2.wav", 0.05, 1.95)
        assert both > 1.15 * max(one, two), \
            "first 2 s not louder than either sound alone (rms %.0f vs %.0f, %.0f)" % (
                math.sqrt(both), math.sqrt(one), math.sqrt(two))
        ceiling = (math.sqrt(one) + math.sqrt(two)) * 1.1
        assert math.sqrt(both) <= ceiling, \
            "first 2 s louder than both sounds together (rms %.0f, at most %.0f)" % (
                math.sqrt(both), ceiling)
        # Afterwards only start sound 2 is left.
        alone, expected = energy(2.3, 5.5), wave_energy("start2.wav", 2.3, 5.5)
        assert 0.6 * expected <= alone <= 1.5 * expected, \
            "after 2 s the output is not start sound 2 alone (rms %.0f, expected %.0f)" % (
                math.sqrt(alone), math.sqrt(expected))

        t.close(window)
        code = t.quit()
        assert code == 0, "exit code %r" % code
    print("sound: switch %.2f s, start sounds %.2f s, first 2 s rms %.0f (alone %.0f / %.0f)" % (
        switch_length, length, math.sqrt(both), math.sqrt(one), math.sqrt(two)))


if __name__ == "__main__":
    main()
