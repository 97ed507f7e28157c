#include "tunes.h"

#include "composer.h"

#include <algorithm>

namespace music {
namespace {

// General MIDI programs (counted from 0) and drum keys used below.
namespace gm {
constexpr int celesta = 8, glockenspiel = 9, musicBox = 10, vibraphone = 11;
constexpr int electricPiano = 4, accordion = 21, steelGuitar = 25, acousticBass = 32;
constexpr int contrabass = 43, pizzicato = 45, harp = 46, timpani = 47, strings = 48;
constexpr int slowStrings = 49, choir = 52, trumpet = 56, tuba = 58, frenchHorn = 60;
constexpr int tenorSax = 66, oboe = 68, clarinet = 71, flute = 73, whistle = 78, fiddle = 110;
} // namespace gm

namespace drum {
constexpr int kick = 36, snare = 38, pedalHat = 44, lowTom = 45, crash = 49;
constexpr int ride = 51, tambourine = 54, triangle = 81;
} // namespace drum

Part makePart(const char* name, int channel, int program, int volume, int pan, int reverb) {
    Part p;
    p.name = name;
    p.channel = channel;
    p.program = program;
    p.volume = volume;
    p.pan = pan;
    p.reverb = reverb;
    return p;
}

void hold(Part& part, std::uint32_t tick, std::uint32_t length, std::vector<int> keys, int vel) {
    for (int k : keys)
        part.notes.push_back({tick, length, k, vel});
}

// Ends the piece a short breath after its last sounding note.
void close(Song& song, std::uint32_t tail) {
    std::uint32_t end = 0;
    for (const Part& p : song.parts)
        for (const Note& n : p.notes)
            end = std::max(end, n.start + n.length);
    song.endTick = end + tail;
}

} // namespace

Song marchTune() {
    const std::uint32_t beat = kPpq, barT = 4 * beat;
    auto bar = [&](int n) { return std::uint32_t(n) * barT; };
    Song song;
    song.title = "March";
    song.tempos = {{0, 116}};

    Harmony h;
    h.append(bar(0), "C | G7", barT);
    const char* sectionA = "C | G7 | C | G | C | F | C G7 | C";
    h.append(bar(2), sectionA, barT);
    h.append(bar(10), sectionA, barT);
    h.append(bar(18), "F | C | Dm G7 | C | F | D7 | G | G7", barT);
    h.append(bar(26), sectionA, barT);
    h.append(bar(34), "F G7 | C", barT);

    Part trumpet = makePart("Trumpet", 0, gm::trumpet, 104, 70, 35);
    Part horns = makePart("Horns", 1, gm::frenchHorn, 78, 50, 45);
    Part tuba = makePart("Tuba", 2, gm::tuba, 100, 64, 30);
    Part glock = makePart("Glockenspiel", 3, gm::glockenspiel, 70, 84, 50);
    Part clarinet = makePart("Clarinet", 4, gm::clarinet, 92, 40, 40);
    Part drums = makePart("Drums", 9, 0, 90, 64, 30);

    const Motif fanfare = motif("8. 16 4 4 4", {0, 1, 2, 4, 2});
    const Motif descent = motif("4 8 8 4 4", {0, -1, -2, -3, -4});
    const Motif dotted = motif("8. 16 8. 16 4 4", {0, 1, 2, 3, 4, 2});
    const Motif sway = motif("4 8 8 2", {0, -1, 0, -2});
    const Motif halfClose = motif("2. r4", {0});
    const Motif fullClose = motif("4 4 2", {2, 1, 0});
    const std::vector<BarPlan> planA = {
        {&fanfare, 0}, {&descent, 1}, {&dotted, -1}, {&halfClose, 0, 1},
        {&fanfare, 0}, {&sway, 1},    {&dotted, -1}, {&fullClose, 0, 0},
    };
    Melody lead(trumpet, majorScale(72), 67, 86, 92, 11);
    lead.lastDegree = 2;
    lead.bars(h, bar(2), barT, beat, planA);
    lead.bars(h, bar(10), barT, beat, planA);

    const Motif climb = motif("4 4 4 8 8", {0, 2, 4, 3, 2});
    const Motif settle = motif("2 4 4", {0, -1, -2});
    const Motif run = motif("8 8 8 8 4 4", {0, 1, 2, 1, 0, -2});
    const Motif walkDown = motif("4 4 4 4", {0, -1, -2, -3});
    Melody middle(clarinet, majorScale(72), 62, 82, 88, 12);
    middle.lastDegree = 0;
    middle.bars(h, bar(18), barT, beat,
                {{&climb, 1},
                 {&settle, 0},
                 {&run, -1},
                 {&settle, 1},
                 {&climb, 2},
                 {&run, -1},
                 {&settle, 0},
                 {&walkDown, 1}});
    lead.lastDegree = 2;
    lead.bars(h, bar(26), barT, beat, planA);
    const Motif tag = motif("4 4 4 4", {0, 1, 2, 3});
    const Motif last = motif("1", {0});
    lead.bars(h, bar(34), barT, beat, {{&tag, -1}, {&last, 0, 7}});
    // The glockenspiel doubles the tune an octave up on its second and last time.
    doubleNotes(trumpet, glock, bar(10), bar(18), 12, -22);
    doubleNotes(trumpet, glock, bar(26), bar(36), 12, -22);
    // The clarinet harmonises the returning tune a third below.
    for (const Note& n : trumpet.notes)
        if (n.start >= bar(26) && n.start < bar(34)) {
            const int pc = n.key % 12;
            const int below = pc == 4 || pc == 9 || pc == 11 ? 4 : 3;
            clarinet.notes.push_back({n.start, n.length, n.key - below, n.velocity - 20});
        }

    Accompanist oomPah(horns, {55, 67}, 62, 13);
    oomPah.legato = 0.5;
    oomPah.play(h, bar(0), bar(34), barT, "-4 c4 -4 c4");
    oomPah.play(h, bar(34), bar(35), barT, "c4 c4 c4 c4");
    Accompanist bass(tuba, {33, 50}, 90, 14);
    bass.legato = 0.7;
    bass.play(h, bar(0), bar(18), barT, "R4 -4 F4 -4");
    bass.play(h, bar(18), bar(26), barT, "R4 -4 F4 T4");
    bass.play(h, bar(26), bar(34), barT, "R4 -4 F4 -4");
    bass.play(h, bar(34), bar(35), barT, "R4 R4 R4 R4");

    Rng rng(15);
    drumBars(drums, bar(0), bar(2), barT,
             {{drum::snare, "x.o.x.o.x.o.xoxo"}, {drum::kick, "X.......X......."}}, -10, rng);
    drumBars(drums, bar(2), bar(34), barT,
             {{drum::snare, "x..ox..ox..oX.o."}, {drum::kick, "X.......x......."}}, 0, rng);
    drumBars(drums, bar(34), bar(35), barT,
             {{drum::snare, "x.x.x.x.xxxxXXXX"}, {drum::kick, "X...X...X...X..."}}, 0, rng);
    for (int b : {2, 10, 18, 26})
        drums.notes.push_back({bar(b), beat, drum::crash, 100});

    // Final chord, everyone together.
    const std::uint32_t end = bar(35);
    hold(horns, end, barT, {60, 64, 67}, 80);
    hold(tuba, end, barT, {36, 48}, 100);
    hold(clarinet, end, barT, {76}, 80);
    hold(drums, end, beat, {drum::crash, drum::kick}, 112);
    ritardando(song, bar(34), bar(35), beat, 116, 96);
    song.tempos.push_back({end, 88});

    song.parts = {trumpet, clarinet, horns, tuba, glock, drums};
    close(song, beat * 2);
    return song;
}

Song musicBoxWaltz() {
    const std::uint32_t beat = kPpq, barT = 3 * beat;
    auto bar = [&](int n) { return std::uint32_t(n) * barT; };
    Song song;
    song.title = "Music Box Waltz";
    song.numerator = 3;
    song.keySharps = -1;
    song.tempos = {{0, 92}};

    Harmony h;
    h.append(bar(0), "F | C7", barT);
    const char* sectionA = "F | Dm | Gm | C7 | F | Am Dm:2 | Gm:2 C7 | F";
    h.append(bar(2), sectionA, barT);
    h.append(bar(10), "F | Dm | Bb | C7 | Am | Dm | Gm C7:2 | F", barT);
    h.append(bar(18), "Bb | F | C7 | F | Bb | Gm | C | C7", barT);
    h.append(bar(26), sectionA, barT);
    h.append(bar(34), "Bb C7:2 | F | F", barT);

    Part box = makePart("Music box", 0, gm::musicBox, 124, 64, 60);
    Part celesta = makePart("Celesta", 1, gm::celesta, 84, 80, 60);
    Part pizz = makePart("Pizzicato", 2, gm::pizzicato, 104, 48, 50);
    Part pad = makePart("Strings", 3, gm::slowStrings, 72, 40, 80);
    Part harp = makePart("Harp", 4, gm::harp, 86, 90, 60);

    const Motif rise = motif("4 4 4", {0, 2, 4});
    const Motif lean = motif("2 4", {0, 1});
    const Motif sigh = motif("4. 8 4", {0, -1, -2});
    const Motif rest = motif("2.", {0});
    const Motif turn = motif("8 8 8 8 4", {0, 1, 2, 1, 0});
    const Motif reach = motif("4 2", {0, 2});
    const Motif fall = motif("2 8 8", {0, -1, -2});
    Melody tune(box, majorScale(77), 69, 91, 84, 21);
    tune.legato = 0.98;
    tune.lastDegree = 0;
    const std::vector<BarPlan> planA = {
        {&rise, 0},  {&lean, 2}, {&sigh, 1}, {&rest, -1},
        {&rise, -2}, {&turn, 0}, {&sigh, 1}, {&rest, 0, 0},
    };
    tune.bars(h, bar(2), barT, beat, planA);
    tune.bars(h, bar(10), barT, beat,
              {{&rise, 0},
               {&lean, 2},
               {&turn, 1},
               {&rest, 0},
               {&sigh, 2},
               {&lean, -1},
               {&turn, -1},
               {&rest, 0, 0}});
    tune.bars(h, bar(18), barT, beat,
              {{&reach, 2},
               {&fall, 0},
               {&sigh, 0},
               {&rest, -1},
               {&reach, 1},
               {&fall, 1},
               {&turn, -1},
               {&rest, 0, 4}});
    tune.lastDegree = 0;
    tune.bars(h, bar(26), barT, beat, planA);
    tune.bars(h, bar(34), barT, beat, {{&sigh, 2}, {&lean, 0, 2}});

    Accompanist chords(celesta, {60, 74}, 52, 22);
    chords.legato = 0.6;
    chords.play(h, bar(0), bar(36), barT, "-4 c4 c4");
    Accompanist bass(pizz, {41, 57}, 82, 23);
    bass.play(h, bar(0), bar(18), barT, "R2.");
    bass.play(h, bar(18), bar(26), barT, "R4 -4 F4");
    bass.play(h, bar(26), bar(36), barT, "R2.");
    Accompanist strings(pad, {53, 70}, 50, 24);
    strings.legato = 1.0;
    strings.play(h, bar(18), bar(36), barT, "C2.");
    Accompanist arpeggio(harp, {53, 77}, 56, 25);
    arpeggio.play(h, bar(18), bar(26), barT, "18 28 38 48 38 28");
    arpeggio.play(h, bar(34), bar(35), barT, "18 28 38 48 58 68");

    const std::uint32_t end = bar(36);
    hold(box, end, barT * 2, {77}, 80);
    hold(celesta, end, barT * 2, {65, 69, 72}, 50);
    hold(pizz, end, beat, {41}, 85);
    hold(pad, end, barT * 2, {53, 60, 65, 69}, 50);
    hold(harp, end, barT * 2, {53, 60, 65, 69, 72, 77}, 60);
    ritardando(song, bar(34), end, beat, 92, 70);
    song.tempos.push_back({end, 66});

    song.parts = {box, celesta, pizz, pad, harp};
    close(song, beat * 2);
    return song;
}

Song swingTune() {
    const std::uint32_t beat = kPpq, barT = 4 * beat;
    auto bar = [&](int n) { return std::uint32_t(n) * barT; };
    Song song;
    song.title = "Swing";
    song.keySharps = -2;
    song.tempos = {{0, 132}};

    Harmony h;
    h.append(bar(0), "Cm7 | F7 | Bbmaj7 | G7", barT);
    h.append(bar(4), "Bbmaj7 | Gm7 | Cm7 | F7 | Dm7 G7 | Cm7 F7 | Bb6 | Cm7 F7", barT);
    h.append(bar(12), "Bbmaj7 | Gm7 | Cm7 | F7 | Fm7 | Bb7 | Ebmaj7 | Cm7 F7", barT);
    h.append(bar(20), "Ebmaj7 | Ebm6 | Dm7 | G7 | Cm7 | F7 | Dm7 G7 | Cm7 F7", barT);
    h.append(bar(28), "Bbmaj7 | Gm7 | Cm7 | F7 | Dm7 G7 | Cm7 F7 | Bb6 | Bb6", barT);
    h.append(bar(36), "Cm7 B7 | Bbmaj7", barT);

    Part vibes = makePart("Vibraphone", 0, gm::vibraphone, 100, 76, 55);
    Part piano = makePart("Electric piano", 1, gm::electricPiano, 78, 44, 45);
    Part bass = makePart("Bass", 2, gm::acousticBass, 104, 58, 25);
    Part sax = makePart("Tenor sax", 3, gm::tenorSax, 92, 64, 45);
    Part drums = makePart("Drums", 9, 0, 82, 64, 35);

    const Motif lift = motif("r8 8 8 8 4 4", {0, 1, 2, 4, 3});
    const Motif poke = motif("4. 8 r4 8 8", {0, -1, 1, 0});
    const Motif run = motif("8 8 8 8 8 8 4", {0, 1, 2, 3, 4, 2, 0});
    const Motif land = motif("2. r4", {0});
    const Motif skip = motif("r4 8 8 4 8 8", {0, 2, 1, -1, 0});
    const Motif pickup = motif("r2 8 8 8 8", {0, 1, 2, 3});
    const Motif silent = motif("r1", {});
    Melody tune(vibes, majorScale(70), 62, 86, 86, 31);
    tune.lastDegree = 2;
    const std::vector<BarPlan> planA = {
        {&lift, 0}, {&poke, 1},  {&run, -2},    {&land, 0},
        {&skip, 1}, {&poke, -1}, {&land, 0, 2}, {&pickup, -3},
    };
    tune.bars(h, bar(4), barT, beat, planA);
    tune.bars(h, bar(12), barT, beat,
              {{&lift, 0},
               {&poke, 1},
               {&run, -2},
               {&land, 0},
               {&skip, 1},
               {&run, -1},
               {&land, 0},
               {&silent}});

    const Motif call = motif("2 8 8 4", {0, 1, 2, 0});
    const Motif answer = motif("4 8 8 r8 8 4", {0, -1, -2, 0, -3});
    Melody horn(sax, majorScale(58), 50, 72, 88, 32);
    horn.lastDegree = 4;
    horn.bars(h, bar(20), barT, beat,
              {{&call, 0},
               {&answer, 2},
               {&skip, 0},
               {&run, -1},
               {&call, 1},
               {&answer, 0},
               {&skip, -1},
               {&pickup, -2}});
    tune.lastDegree = 2;
    tune.bars(h, bar(28), barT, beat,
              {{&lift, 0},
               {&poke, 1},
               {&run, -2},
               {&land, 0},
               {&skip, 1},
               {&poke, -1},
               {&land, 0, 0},
               {&silent}});
    const Motif tag = motif("8 8 8 8 8 8 8 8", {0, 1, 2, 3, 4, 3, 2, 1});
    tune.bars(h, bar(36), barT, beat, {{&tag, 2}});
    // The sax answers the vibraphone in the bars where it rests.
    Melody fill(sax, majorScale(58), 50, 70, 74, 33);
    fill.lastDegree = 4;
    fill.bars(h, bar(10), barT, beat, {{&skip, 0}});
    fill.bars(h, bar(34), barT, beat, {{&skip, 0}, {&call, 0}});

    Accompanist comp(piano, {55, 72}, 60, 34);
    comp.legato = 0.55;
    for (int b = 0; b < 37; ++b)
        comp.play(h, bar(b), bar(b + 1), barT, b % 2 ? "-4 -8 c8 -4 c4" : "c4. c8 -2");
    Accompanist walk(bass, {28, 50}, 88, 35);
    walk.legato = 0.85;
    walk.play(h, bar(0), bar(36), barT, "R4 W4 W4 A4");
    walk.play(h, bar(36), bar(37), barT, "R4 W4 R4 A4");

    for (Part* p : {&vibes, &piano, &sax})
        swing(*p, beat, 0, bar(37));

    Rng rng(36);
    const std::vector<DrumLane> groove = {{drum::ride, "x..x.xx..x.x"},
                                          {drum::pedalHat, "...x.....x.."},
                                          {drum::kick, "o.....o....."}};
    drumBars(drums, bar(0), bar(36), barT, groove, -8, rng);
    for (int b = 3; b < 36; b += 4)
        drumBars(drums, bar(b), bar(b + 1), barT, {{drum::snare, "........o.xo"}}, 0, rng);
    drumBars(drums, bar(36), bar(37), barT,
             {{drum::ride, "x..x.xx..x.x"}, {drum::snare, "...o..o.xo.X"}}, 0, rng);
    for (int b : {4, 12, 20, 28})
        drums.notes.push_back({bar(b), beat, drum::crash, 92});

    const std::uint32_t end = bar(37);
    hold(vibes, end, barT, {74, 81}, 84);
    hold(piano, end, barT, {57, 62, 65, 69}, 66);
    hold(bass, end, barT, {34}, 96);
    hold(sax, end, barT, {58}, 70);
    hold(drums, end, beat, {drum::crash, drum::kick}, 96);
    ritardando(song, bar(36), end, beat, 132, 108);
    song.tempos.push_back({end, 100});

    song.parts = {vibes, piano, bass, sax, drums};
    close(song, beat * 3);
    return song;
}

Song nightTune() {
    const std::uint32_t beat = kPpq, barT = 4 * beat;
    auto bar = [&](int n) { return std::uint32_t(n) * barT; };
    Song song;
    song.title = "Night";
    song.keySharps = -1;
    song.minor = true;
    song.tempos = {{0, 76}};

    Harmony h;
    h.append(bar(0), "Dm | Dm", barT);
    h.append(bar(2), "Dm | Bb | Gm | A7 | Dm | C | Bb | A7", barT);
    h.append(bar(10), "Gm | Dm | Eb | A7 | Bb | Gm | Em7b5 | A7", barT);
    h.append(bar(18), "Dm | Bb | Gm | A7 | Dm | C | Gm A7 | Dm", barT);
    h.append(bar(26), "Bb | D", barT);

    Part flute = makePart("Flute", 0, gm::flute, 96, 70, 70);
    Part pad = makePart("Strings", 1, gm::strings, 66, 54, 80);
    Part harp = makePart("Harp", 2, gm::harp, 78, 84, 65);
    Part bass = makePart("Contrabass", 3, gm::contrabass, 84, 60, 55);
    Part choir = makePart("Choir", 4, gm::choir, 56, 40, 90);
    Part timp = makePart("Timpani", 5, gm::timpani, 90, 64, 60);
    Part celesta = makePart("Celesta", 6, gm::celesta, 64, 100, 90);
    Part oboe = makePart("Oboe", 7, gm::oboe, 86, 30, 70);

    const Motif ask = motif("2 4 4", {0, 1, 2});
    const Motif sink = motif("4. 8 2", {0, -1, -2});
    const Motif wait = motif("1", {0});
    const Motif wander = motif("4 4 4 4", {0, 2, 1, -1});
    const Motif hang = motif("2. 4", {0, -1});
    Melody tune(flute, minorScale(74), 67, 91, 78, 41);
    tune.legato = 0.97;
    tune.lastDegree = 0;
    tune.bars(h, bar(2), barT, beat,
              {{&ask, 0},
               {&sink, 3},
               {&wander, -1},
               {&wait, 0},
               {&ask, -2},
               {&sink, 2},
               {&wander, 0},
               {&wait, 0, 4}});
    Melody second(oboe, minorScale(74), 62, 84, 80, 42);
    second.legato = 0.97;
    second.lastDegree = 4;
    second.bars(h, bar(10), barT, beat,
                {{&hang, 2},
                 {&sink, 0},
                 {&ask, -1},
                 {&wait, 0},
                 {&wander, 2},
                 {&sink, 0},
                 {&hang, -1},
                 {&wait, 0, 4}});
    tune.lastDegree = 4;
    tune.bars(h, bar(18), barT, beat,
              {{&ask, -4},
               {&sink, 3},
               {&wander, -1},
               {&wait, 0},
               {&ask, -2},
               {&sink, 2},
               {&hang, 0},
               {&wait, 0, 0}});
    const Motif farewell = motif("2 2", {2, 1});
    tune.bars(h, bar(26), barT, beat, {{&farewell, 0, 0}});

    Accompanist strings(pad, {50, 67}, 56, 43);
    strings.legato = 1.0;
    strings.play(h, bar(0), bar(27), barT, "C1");
    Accompanist arpeggio(harp, {50, 74}, 60, 44);
    arpeggio.play(h, bar(0), bar(27), barT, "18 28 38 48 58 48 38 28");
    Accompanist low(bass, {31, 45}, 76, 45);
    low.legato = 1.0;
    low.play(h, bar(0), bar(27), barT, "R1");
    Accompanist voices(choir, {57, 72}, 52, 46);
    voices.legato = 1.0;
    voices.play(h, bar(10), bar(18), barT, "C1");
    Accompanist kettle(timp, {38, 50}, 84, 47);
    kettle.legato = 0.9;
    for (int b : {2, 6, 10, 14, 18, 22})
        kettle.play(h, bar(b), bar(b + 1), barT, b == 2 || b == 18 ? "!R4 R8 R8 R2" : "R2 -2");
    kettle.play(h, bar(9), bar(10), barT, "-2 R8 R8 R8 R8");
    Accompanist sparkle(celesta, {79, 96}, 50, 48);
    for (int b = 18; b < 26; b += 2)
        sparkle.play(h, bar(b), bar(b + 1), barT, "-2 -8 38 -8 28");

    const std::uint32_t end = bar(27);
    hold(flute, end, barT * 2, {74}, 70);
    hold(pad, end, barT * 2, {50, 57, 62, 66}, 58);
    hold(harp, end, barT * 2, {50, 57, 62, 66, 69, 74}, 64);
    hold(bass, end, barT * 2, {38}, 76);
    hold(choir, end, barT * 2, {62, 66, 69}, 48);
    hold(timp, end, beat, {38}, 80);
    hold(celesta, end + beat, beat * 2, {90}, 48);
    ritardando(song, bar(26), end, beat, 76, 62);
    song.tempos.push_back({end, 58});

    song.parts = {flute, oboe, pad, harp, bass, choir, timp, celesta};
    close(song, beat * 2);
    return song;
}

Song jigTune() {
    const std::uint32_t eighth = kPpq / 2, beat = 3 * eighth, barT = 2 * beat;
    auto bar = [&](int n) { return std::uint32_t(n) * barT; };
    Song song;
    song.title = "Jig";
    song.numerator = 6;
    song.denominator = 8;
    song.keySharps = 1;
    song.tempos = {{0, 156}}; // a dotted quarter at 104

    Harmony h;
    h.append(bar(0), "G | D", barT);
    const char* sectionA = "G | C | G | D | G | C | G D | G";
    const char* sectionB = "Em | C | G | D | Em | C | Am D | G";
    h.append(bar(2), sectionA, barT);
    h.append(bar(10), sectionA, barT);
    h.append(bar(18), sectionB, barT);
    h.append(bar(26), sectionB, barT);
    h.append(bar(34), sectionA, barT);
    h.append(bar(42), "C D | G", barT);

    Part fiddle = makePart("Fiddle", 0, gm::fiddle, 100, 70, 40);
    Part accordion = makePart("Accordion", 1, gm::accordion, 70, 44, 35);
    Part guitar = makePart("Guitar", 2, gm::steelGuitar, 70, 90, 35);
    Part bass = makePart("Bass", 3, gm::acousticBass, 96, 60, 25);
    Part whistle = makePart("Whistle", 4, gm::whistle, 80, 30, 50);
    Part drums = makePart("Percussion", 9, 0, 84, 64, 30);

    const Motif lilt = motif("4 8 4 8", {0, 2, 1, 0});
    const Motif reel = motif("8 8 8 8 8 8", {0, 1, 2, 3, 2, 1});
    const Motif step = motif("4. 4 8", {0, -1, -2});
    const Motif tumble = motif("8 8 8 4 8", {0, -1, -2, -3, -2});
    const Motif home = motif("4. r4.", {0});
    const Motif lead = motif("4. 8 8 8", {0, -3, -2, -1});
    Melody tune(fiddle, majorScale(67), 62, 88, 90, 51);
    tune.legato = 0.85;
    tune.lastDegree = 4;
    const std::vector<BarPlan> planA = {
        {&lilt, 0}, {&reel, 1}, {&lilt, -1},   {&tumble, 2},
        {&lilt, 0}, {&reel, 1}, {&tumble, -1}, {&home, 0, 0},
    };
    const std::vector<BarPlan> planB = {
        {&reel, 2}, {&step, 0}, {&lilt, 1},    {&tumble, 0},
        {&reel, 3}, {&step, 0}, {&tumble, -1}, {&lead, 0, 0},
    };
    tune.bars(h, bar(2), barT, beat, planA);
    tune.lastDegree = 4;
    tune.bars(h, bar(10), barT, beat, planA);
    tune.bars(h, bar(18), barT, beat, planB);
    tune.bars(h, bar(26), barT, beat, planB);
    tune.lastDegree = 4;
    tune.bars(h, bar(34), barT, beat, planA);
    const Motif flourish = motif("8 8 8 8 8 8", {4, 3, 2, 1, 0, -1});
    const Motif final = motif("2.", {0});
    tune.bars(h, bar(42), barT, beat, {{&flourish, 0, 0}, {&final, 0, 0}});
    doubleNotes(fiddle, whistle, bar(10), bar(18), 12, -18);
    doubleNotes(fiddle, whistle, bar(26), bar(34), 12, -18);
    doubleNotes(fiddle, whistle, bar(34), bar(44), 0, -14);

    Accompanist squeeze(accordion, {55, 69}, 58, 52);
    squeeze.legato = 0.7;
    squeeze.play(h, bar(0), bar(43), barT, "-8 c8 c8 -8 c8 c8");
    Accompanist strum(guitar, {48, 64}, 60, 53);
    strum.legato = 0.8;
    strum.play(h, bar(2), bar(43), barT, "!C4 C8 !C4 C8");
    Accompanist bassLine(bass, {36, 52}, 86, 54);
    bassLine.legato = 0.8;
    bassLine.play(h, bar(0), bar(43), barT, "R4. F4.");

    Rng rng(55);
    drumBars(drums, bar(0), bar(42), barT,
             {{drum::lowTom, "X.xx.x"}, {drum::tambourine, "..x..x"}, {drum::kick, "x.....x....."}},
             -6, rng);
    for (int b = 9; b < 42; b += 8)
        drumBars(drums, bar(b), bar(b + 1), barT, {{drum::lowTom, "xxxXXX"}}, 0, rng);
    drumBars(drums, bar(42), bar(43), barT, {{drum::lowTom, "X.xX.x"}, {drum::triangle, "x....."}},
             0, rng);
    drums.notes.push_back({bar(18), beat, drum::crash, 90});
    drums.notes.push_back({bar(34), beat, drum::crash, 90});

    const std::uint32_t end = bar(43);
    hold(accordion, end, barT, {55, 59, 62, 67}, 64);
    hold(guitar, end, barT, {43, 50, 55, 59, 62, 67}, 70);
    hold(bass, end, barT, {43}, 92);
    hold(drums, end, eighth, {drum::lowTom, drum::kick, drum::crash}, 108);
    ritardando(song, bar(42), end, beat, 156, 120);
    song.tempos.push_back({end, 110});

    song.parts = {fiddle, whistle, accordion, guitar, bass, drums};
    close(song, beat);
    return song;
}

std::vector<Song> allTunes() {
    return {marchTune(), musicBoxWaltz(), swingTune(), nightTune(), jigTune()};
}

} // namespace music
