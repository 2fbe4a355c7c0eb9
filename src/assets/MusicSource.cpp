#include "assets/MusicSource.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace pabuko {

namespace {

struct Part {
    std::string Name;
    int Channel = 0;  // 0-based
    int Instrument = 0;
    int Volume = 100, Pan = 64, Reverb = 40, Chorus = 0, Gate = 92;
};

struct Note {
    int64_t Start, Length;
    int Key, Velocity;
};

// Where a part stands while its lines are read; octave, length and velocity carry on.
struct Cursor {
    int64_t Time = 0;
    int Octave = 4;
    int64_t Length = kMusicDivision;
    int Velocity = 90;
};

struct Section {
    std::map<std::string, std::vector<Note>> Notes;  // times from the section's start
    std::map<std::string, Cursor> Cursors;
    int64_t Length() const {
        int64_t n = 0;
        for (const auto& [name, c] : Cursors) n = std::max(n, c.Time);
        return n;
    }
};

const std::map<std::string, int>& Drums() {
    static const std::map<std::string, int> drums{
        {"bd", 36},   {"rim", 37},  {"sn", 38},  {"clap", 39},  {"lt", 41},
        {"hh", 42},   {"tom", 45},  {"oh", 46},  {"ht", 48},    {"crash", 49},
        {"ride", 51}, {"tamb", 54}, {"cow", 56}, {"shaker", 70}};
    return drums;
}

class Compiler {
  public:
    explicit Compiler(std::string file) : file_(std::move(file)) {}

    std::vector<uint8_t> Run(const std::string& text) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            ++lineNo_;
            if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Line(line);
        }
        if (section_) Fail("section '" + sectionName_ + "' has no 'end'");
        if (song_.empty()) Fail("no 'play' line: the song is empty");
        return Write();
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw MusicSourceError(file_ + ":" + std::to_string(lineNo_) + ": " + what);
    }

    int Number(const std::string& word, int lo, int hi, const std::string& what) const {
        int value = 0;
        size_t used = 0;
        try {
            value = std::stoi(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != word.size() || value < lo || value > hi)
            Fail(what + " must be a number from " + std::to_string(lo) + " to " +
                 std::to_string(hi) + ", not '" + word + "'");
        return value;
    }

    static std::vector<std::string> Words(const std::string& s) {
        std::istringstream in(s);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        return words;
    }

    void Line(const std::string& line) {
        const auto words = Words(line);
        if (words.empty()) return;
        const std::string& head = words[0];
        if (const size_t colon = head.find(':'); colon != std::string::npos) {
            const std::string name = head.substr(0, colon);
            if (!section_) Fail("notes of '" + name + "' outside a section");
            const size_t at = line.find(':');
            Notes(name, line.substr(at + 1));
        } else if (head == "tempo") {
            if (words.size() != 2) Fail("'tempo' takes one number");
            tempo_ = Number(words[1], 20, 400, "the tempo");
        } else if (head == "part") {
            PartLine(words);
        } else if (head == "section") {
            if (section_) Fail("section inside section '" + sectionName_ + "'");
            if (words.size() != 2) Fail("'section' takes one name");
            sectionName_ = words[1];
            if (sections_.count(sectionName_)) Fail("section '" + sectionName_ + "' again");
            section_ = &sections_[sectionName_];
        } else if (head == "end") {
            if (!section_) Fail("'end' without a section");
            if (section_->Length() == 0) Fail("section '" + sectionName_ + "' has no notes");
            section_ = nullptr;
        } else if (head == "play") {
            if (section_) Fail("'play' inside section '" + sectionName_ + "'");
            for (size_t i = 1; i < words.size(); ++i) {
                std::string name = words[i];
                int times = 1;
                if (const size_t star = name.find('*'); star != std::string::npos) {
                    times = Number(name.substr(star + 1), 1, 64, "the repeat count");
                    name.resize(star);
                }
                if (!sections_.count(name)) Fail("no section '" + name + "' before this line");
                for (int k = 0; k < times; ++k) song_.push_back(name);
            }
        } else {
            Fail("unknown line starting with '" + head + "'");
        }
    }

    void PartLine(const std::vector<std::string>& words) {
        if (words.size() < 2 || words.size() % 2 != 0) Fail("'part' takes a name and pairs");
        Part p;
        p.Name = words[1];
        if (std::any_of(parts_.begin(), parts_.end(),
                        [&](const Part& q) { return q.Name == p.Name; }))
            Fail("part '" + p.Name + "' again");
        if (p.Name.find(':') != std::string::npos) Fail("a part name cannot hold ':'");
        bool channel = false;
        for (size_t i = 2; i + 1 < words.size(); i += 2) {
            const std::string& k = words[i];
            const std::string& v = words[i + 1];
            if (k == "channel") {
                p.Channel = Number(v, 1, 16, "the channel") - 1;
                channel = true;
            } else if (k == "instrument") {
                p.Instrument = Number(v, 1, 128, "the instrument") - 1;
            } else if (k == "volume") {
                p.Volume = Number(v, 0, 127, "the volume");
            } else if (k == "pan") {
                p.Pan = Number(v, 0, 127, "the pan");
            } else if (k == "reverb") {
                p.Reverb = Number(v, 0, 127, "the reverb");
            } else if (k == "chorus") {
                p.Chorus = Number(v, 0, 127, "the chorus");
            } else if (k == "gate") {
                p.Gate = Number(v, 10, 100, "the gate");
            } else {
                Fail("unknown part setting '" + k + "'");
            }
        }
        if (!channel) Fail("part '" + p.Name + "' needs a channel");
        parts_.push_back(p);
    }

    const Part& FindPart(const std::string& name) const {
        for (const Part& p : parts_)
            if (p.Name == name) return p;
        Fail("no part '" + name + "' declared before this line");
    }

    void Notes(const std::string& name, const std::string& text) {
        const Part& part = FindPart(name);
        Cursor& c = section_->Cursors[name];
        auto& notes = section_->Notes[name];
        for (const std::string& token : Words(text)) {
            if (token == "|") continue;
            if (token.size() > 1 && token[0] == 'v' &&
                std::isdigit(static_cast<unsigned char>(token[1]))) {
                c.Velocity = Number(token.substr(1), 1, 127, "the velocity");
                continue;
            }
            // Keys joined by '+', then the length shared by all of them.
            const size_t slash = token.find('/');
            const std::string keys = token.substr(0, slash);
            if (slash != std::string::npos) c.Length = Length(token.substr(slash + 1));
            std::vector<int> chord;
            bool rest = false;
            std::string key;
            std::istringstream ks(keys);
            while (std::getline(ks, key, '+')) {
                if (key == "r") {
                    rest = true;
                } else {
                    chord.push_back(Key(key, part, c));
                }
            }
            if (rest == !chord.empty())
                Fail("'" + token + "' is neither a note, a chord nor a rest");
            for (int k : chord) notes.push_back({c.Time, c.Length, k, c.Velocity});
            c.Time += c.Length;
        }
    }

    int64_t Length(const std::string& s) const {
        size_t i = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        if (i == 0) Fail("a length needs a number after '/'");
        const int d = Number(s.substr(0, i), 1, 32, "the length");
        if ((d & (d - 1)) != 0) Fail("the length /" + s.substr(0, i) + " is not a power of two");
        int64_t ticks = 4 * kMusicDivision / d;
        if (i < s.size() && s[i] == 't') {
            ticks = ticks * 2 / 3;
            ++i;
        }
        int64_t add = ticks;
        for (; i < s.size() && s[i] == '.'; ++i) ticks += add /= 2;
        if (i != s.size()) Fail("bad length '/" + s + "'");
        return ticks;
    }

    int Key(const std::string& s, const Part& part, Cursor& c) const {
        if (const auto d = Drums().find(s); d != Drums().end()) return d->second;
        if (s.size() > 1 && s[0] == 'n') return Number(s.substr(1), 0, 127, "the key number");
        static const int steps[] = {9, 11, 0, 2, 4, 5, 7};  // a..g
        if (s.empty() || s[0] < 'a' || s[0] > 'g') Fail("bad note '" + s + "'");
        int semitone = steps[s[0] - 'a'];
        size_t i = 1;
        if (i < s.size() && (s[i] == '#' || s[i] == 'b')) semitone += s[i++] == '#' ? 1 : -1;
        if (i < s.size()) {
            if (i + 1 != s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
                Fail("bad note '" + s + "'");
            c.Octave = s[i] - '0';
        }
        const int key = 12 * (c.Octave + 1) + semitone;
        if (key < 0 || key > 127) Fail("note '" + s + "' is out of range");
        (void)part;
        return key;
    }

    std::vector<uint8_t> Write() const;

    std::string file_;
    int lineNo_ = 0;
    int tempo_ = 120;
    std::vector<Part> parts_;
    std::map<std::string, Section> sections_;
    Section* section_ = nullptr;
    std::string sectionName_;
    std::vector<std::string> song_;
};

void VarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = v & 0x7F;
        v >>= 7;
    } while (v);
    while (n > 1) out.push_back(bytes[--n] | 0x80);
    out.push_back(bytes[0]);
}

void Be(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

struct Event {
    int64_t Time;
    int Order;  // note-offs before note-ons at the same time
    std::vector<uint8_t> Bytes;
};

void Chunk(std::vector<uint8_t>& file, const std::vector<Event>& sorted, int64_t end) {
    std::vector<uint8_t> body;
    int64_t now = 0;
    for (const Event& e : sorted) {
        VarLen(body, uint32_t(e.Time - now));
        now = e.Time;
        body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
    }
    VarLen(body, uint32_t(std::max<int64_t>(0, end - now)));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    Be(file, uint32_t(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
}

std::vector<uint8_t> Compiler::Write() const {
    // Lay the sections end to end.
    std::map<std::string, std::vector<Note>> notes;
    int64_t end = 0;
    for (const std::string& name : song_) {
        const Section& s = sections_.at(name);
        for (const auto& [part, list] : s.Notes)
            for (const Note& n : list)
                notes[part].push_back({end + n.Start, n.Length, n.Key, n.Velocity});
        end += s.Length();
    }

    std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    Be(file, uint32_t(parts_.size() + 1), 2);
    Be(file, kMusicDivision, 2);

    const uint32_t microseconds = 60000000u / uint32_t(tempo_);
    std::vector<Event> conductor{{0, 0, {0xFF, 0x51, 0x03}}};
    Be(conductor[0].Bytes, microseconds, 3);
    conductor.push_back({0, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}});
    Chunk(file, conductor, end);

    for (const Part& p : parts_) {
        const auto ch = uint8_t(p.Channel);
        std::vector<Event> events{
            {0, 0, {uint8_t(0xFF), 0x03, uint8_t(std::min<size_t>(p.Name.size(), 127))}},
            {0, 1, {uint8_t(0xC0 | ch), uint8_t(p.Instrument)}},
            {0, 1, {uint8_t(0xB0 | ch), 7, uint8_t(p.Volume)}},
            {0, 1, {uint8_t(0xB0 | ch), 10, uint8_t(p.Pan)}},
            {0, 1, {uint8_t(0xB0 | ch), 91, uint8_t(p.Reverb)}},
            {0, 1, {uint8_t(0xB0 | ch), 93, uint8_t(p.Chorus)}},
        };
        events[0].Bytes.insert(events[0].Bytes.end(), p.Name.begin(),
                               p.Name.begin() + std::min<size_t>(p.Name.size(), 127));
        if (const auto it = notes.find(p.Name); it != notes.end()) {
            for (const Note& n : it->second) {
                const int64_t sounding = std::max<int64_t>(1, n.Length * p.Gate / 100);
                events.push_back(
                    {n.Start, 3, {uint8_t(0x90 | ch), uint8_t(n.Key), uint8_t(n.Velocity)}});
                events.push_back({n.Start + sounding, 2, {uint8_t(0x80 | ch), uint8_t(n.Key), 0}});
            }
        }
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.Time != b.Time ? a.Time < b.Time : a.Order < b.Order;
        });
        Chunk(file, events, end);
    }
    return file;
}

}  // namespace

std::vector<uint8_t> CompileMusicSource(const std::string& text, const std::string& fileName) {
    return Compiler(fileName).Run(text);
}

}  // namespace pabuko
