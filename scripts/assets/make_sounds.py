#!/usr/bin/env python3
"""Makes the game's sounds: short mono 16-bit WAV files drawn from simple
synthesis (decaying partials, shaped noise), and the description script
(".n2") the game reads for each. Rerun it to rebuild data/sounds/.

    python3 scripts/assets/make_sounds.py [output directory]
"""
import math
import os
import random
import struct
import sys
import wave

RATE = 16000


def envelope(i, n, attack=0.005, decay=8.0):
    t = i / RATE
    a = min(1.0, t / attack) if attack > 0 else 1.0
    return a * math.exp(-decay * t / (n / RATE))


def noise(rng):
    return rng.uniform(-1.0, 1.0)


def lowpass(samples, alpha):
    out, y = [], 0.0
    for s in samples:
        y += alpha * (s - y)
        out.append(y)
    return out


def thump(seconds, freq, rng, noise_mix, decay):
    """A punch: a falling sine under a burst of low-passed noise."""
    n = int(seconds * RATE)
    raw = []
    phase = 0.0
    for i in range(n):
        f = freq * (1.0 + 2.0 * math.exp(-30.0 * i / RATE))
        phase += 2.0 * math.pi * f / RATE
        s = (1.0 - noise_mix) * math.sin(phase) + noise_mix * noise(rng)
        raw.append(s * envelope(i, n, 0.002, decay))
    return lowpass(raw, 0.35)


def swish(seconds, rng, centre):
    """A missed punch: noise swelling and fading, its brightness moving."""
    n = int(seconds * RATE)
    out, y = [], 0.0
    for i in range(n):
        t = i / n
        alpha = 0.05 + centre * math.sin(math.pi * t)
        y += alpha * (noise(rng) - y)
        out.append(y * math.sin(math.pi * t) ** 2 * 1.6)
    return out


def bell(seconds, base, partials, decay):
    """The gong and the bonus chime: inharmonic decaying partials."""
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        s = sum(a * math.sin(2.0 * math.pi * base * r * t) * math.exp(-decay * k * t)
                for k, (r, a) in enumerate(partials, 1))
        out.append(s * min(1.0, t / 0.003))
    return out


def crowd(seconds, rng, swell):
    """The hall: band-limited noise with a slow murmur; loops cleanly because
    both ends fade into the same level."""
    n = int(seconds * RATE)
    out, y, z = [], 0.0, 0.0
    for i in range(n):
        t = i / n
        y += 0.08 * (noise(rng) - y)
        z += 0.5 * (y - z)
        level = 0.5 + 0.2 * math.sin(2.0 * math.pi * 3.0 * t) + swell * math.sin(math.pi * t)
        out.append((y - z) * level * 3.0)
    return out


def fanfare(seconds):
    """The win: a rising major arpeggio."""
    notes = [392.0, 493.9, 587.3, 784.0]
    n = int(seconds * RATE)
    per = n // len(notes)
    out = []
    for k, f in enumerate(notes):
        for i in range(per if k < len(notes) - 1 else n - per * k):
            t = i / RATE
            s = math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t)
            out.append(0.5 * s * math.exp(-2.5 * t) * min(1.0, t / 0.01))
    return out


def write_wav(path, samples, level):
    """The samples scaled so that their peak is the level (of full scale)."""
    peak = max(1e-6, max(abs(s) for s in samples))
    scale = level * 32767 / peak
    frames = b"".join(struct.pack("<h", int(max(-32767, min(32767, s * scale)))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


DESCRIPTION = """# ---
# $parser:ntclserver$ $class:nroot$
# ---
new nenv filename
\tsel filename
\t.sets "sound:{name}.wav"
sel ..
new nenv looping
\tsel looping
\t.setb {looping}
sel ..
new nenv ambient
\tsel ambient
\t.setb {ambient}
sel ..
new nenv min-dist
\tsel min-dist
\t.setf {mindist:.6f}
sel ..
new nenv max-dist
\tsel max-dist
\t.setf {maxdist:.6f}
sel ..
# ---
# Eof
# ---
"""


# the peak of each sound's file, of full scale: the crowd's loop under
# everything, the won fanfare and the crowd's cheer together at the end
EVENT_LEVEL = 0.5
LEVELS = {"env": 0.3, "won": 0.4, "excite": 0.35}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data", "sounds")
    os.makedirs(out, exist_ok=True)
    rng = random.Random(1234)
    # name: (samples, looping, ambient, min-dist, max-dist); the camera sits
    # about 27 units from the boxers, so their sounds keep full loudness to 25
    # units; ambient sounds are heard at the listener. The match's sounds
    # play over the crowd's loop and over each other; at full scale each the
    # mix reached 0 dBFS, far above the intro's -7.5 dBFS peak, so the loop
    # sits low and the rest a little below full scale (LEVELS)
    sounds = {
        "env": (crowd(2.0, rng, 0.0), True, True, 1.0, 100.0),
        "hit": (thump(0.25, 90.0, rng, 0.5, 6.0), False, False, 25.0, 100.0),
        "hit-face": (thump(0.3, 70.0, rng, 0.7, 5.0), False, False, 25.0, 100.0),
        "player-miss": (swish(0.3, rng, 0.25), False, False, 25.0, 100.0),
        "ai-miss": (swish(0.35, rng, 0.18), False, False, 25.0, 100.0),
        "gong": (bell(1.5, 220.0, [(1.0, 1.0), (2.76, 0.5), (5.4, 0.25), (8.93, 0.12)], 1.2), False, True, 1.0, 100.0),
        "excite": (crowd(1.2, rng, 0.8), False, True, 1.0, 100.0),
        "won": (fanfare(1.2), False, True, 1.0, 100.0),
        "bonus-notification": (bell(0.5, 880.0, [(1.0, 1.0), (2.0, 0.4), (3.0, 0.2)], 3.0), False, True, 1.0, 100.0),
        "swish": (swish(0.25, rng, 0.3), False, False, 25.0, 100.0),
    }
    for name, (samples, looping, ambient, mindist, maxdist) in sounds.items():
        write_wav(os.path.join(out, name + ".wav"), samples, LEVELS.get(name, EVENT_LEVEL))
        with open(os.path.join(out, name + ".n2"), "w") as f:
            f.write(DESCRIPTION.format(name=name, looping=str(looping).lower(), ambient=str(ambient).lower(),
                                       mindist=mindist, maxdist=maxdist))


if __name__ == "__main__":
    main()
