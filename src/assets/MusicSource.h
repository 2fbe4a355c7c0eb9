#pragma once
// The game's music is written as note sources in content/music and compiled into Standard
// MIDI Files. A source, line by line ('#' starts a comment):
//
//   tempo 108                     quarter notes per minute (20..400)
//   part lead channel 1 instrument 74 volume 100 pan 40 reverb 60 chorus 30 gate 90
//                                 a part on a MIDI channel (1..16; 10 is the drum kit) with a
//                                 General MIDI instrument (1..128, as numbered in the GM list);
//                                 volume, pan, reverb, chorus 0..127, gate: the share of a
//                                 note's length that sounds, in percent
//   section A                     a passage; its parts run side by side
//   lead: e5/8 d c/4. r/8 | g4+b4/2
//   end
//   play A A B A*2                the song: sections in order, *N repeats one
//
// A note is a letter a..g, an optional # or b, an optional octave (c4 is middle C) and an
// optional length: /1 /2 /4 /8 /16 /32, a 't' for a triplet, dots. Octave and length carry
// on to the next note of the part. 'r' is a rest, notes joined with '+' sound together,
// drums are named (bd sn hh oh ride crash tom lt ht clap rim cow tamb shaker) or given as
// nN, 'vNN' sets the velocity of the notes that follow, '|' is only for the eye. A section
// lasts as long as its longest part; the shorter ones rest to its end.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pabuko {

class MusicSourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Ticks per quarter note in the written files.
inline constexpr int kMusicDivision = 480;

// Compiles a note source into a format 1 Standard MIDI File. Throws MusicSourceError
// "FILE:LINE: what is wrong" for the first bad line.
std::vector<uint8_t> CompileMusicSource(const std::string& text, const std::string& fileName);

}  // namespace pabuko
