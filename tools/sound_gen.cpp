// Makes the program's sounds: the twelve key tones (the keypad's dual-tone
// frequency pairs) and the ring tones, as 16-bit PCM mono wave files at
// 8 kHz, the handset's telephone rate.
//
//   sound_gen <key-tone folder> <ring-tone folder>
//
// The output depends on nothing but this file, so the committed files can be
// checked against a fresh run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 8000;
constexpr double kPi = 3.14159265358979323846;
constexpr double kFadeSeconds = 0.005;  // no click at either end

using Samples = std::vector<int16_t>;
using Signal = std::function<double(double t)>;  // -1.0 ... 1.0 at time t

void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteWave(const std::string& path, const Samples& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

// `seconds` of the signal with short fades at both ends.
Samples Render(double seconds, const Signal& signal) {
    const size_t count = static_cast<size_t>(seconds * kRate);
    Samples out(count);
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double edge = std::fmin(t, seconds - t) / kFadeSeconds;
        const double gain = edge < 1.0 ? edge : 1.0;
        out[i] = static_cast<int16_t>(std::lround(32767.0 * 0.9 * gain * signal(t)));
    }
    return out;
}

double Tone(double hz, double t) { return std::sin(2.0 * kPi * hz * t); }

struct KeyTone {
    const char* file;
    double low;
    double high;
};

// The keypad's row and column frequencies.
constexpr KeyTone kKeyTones[] = {
    {"1.wav", 697, 1209}, {"2.wav", 697, 1336}, {"3.wav", 697, 1477},    {"4.wav", 770, 1209},
    {"5.wav", 770, 1336}, {"6.wav", 770, 1477}, {"7.wav", 852, 1209},    {"8.wav", 852, 1336},
    {"9.wav", 852, 1477}, {"0.wav", 941, 1336}, {"star.wav", 941, 1209}, {"sharp.wav", 941, 1477},
};

Samples Classic() {  // two seconds of the familiar 440 + 480 Hz ring, twice
    return Render(2.0, [](double t) {
        const bool on = std::fmod(t, 1.0) < 0.8;
        return on ? 0.5 * (Tone(440, t) + Tone(480, t)) : 0.0;
    });
}

Samples Trill() {  // a warble of 1000 and 1250 Hz, 25 ms each
    return Render(1.5, [](double t) {
        const bool high = std::fmod(t, 0.05) >= 0.025;
        return Tone(high ? 1250 : 1000, t);
    });
}

Samples Chime() {  // three falling notes, each dying away
    return Render(1.8, [](double t) {
        static const double kNotes[] = {659.25, 523.25, 392.0};
        const int note = static_cast<int>(t / 0.6);
        const double since = t - 0.6 * note;
        return Tone(kNotes[note < 3 ? note : 2], t) * std::exp(-4.0 * since);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sound_gen <key-tone folder> <ring-tone folder>\n");
        return 2;
    }
    const std::string keys = argv[1];
    const std::string rings = argv[2];
    bool ok = true;
    for (const KeyTone& k : kKeyTones) {
        ok = WriteWave(keys + "/" + k.file, Render(0.15, [&k](double t) {
                           return 0.5 * (Tone(k.low, t) + Tone(k.high, t));
                       })) && ok;
    }
    ok = WriteWave(rings + "/Classic.wav", Classic()) && ok;
    ok = WriteWave(rings + "/Trill.wav", Trill()) && ok;
    ok = WriteWave(rings + "/Chime.wav", Chime()) && ok;
    if (!ok) std::fprintf(stderr, "sound_gen: a file could not be written\n");
    return ok ? 0 : 1;
}
