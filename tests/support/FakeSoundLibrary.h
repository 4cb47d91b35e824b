// A stand-in for the sound library: while an instance lives, the engine's
// call table points at functions that record every call as a line of text
// ("ChannelPlay(101,1)") and keep a little state, so that what the engine
// asks the library to do can be checked. Streams are numbered from 101;
// ChannelPlay marks a stream playing and ChannelStop clears it, which is
// what ChannelIsActive reports. The table the engine had before is put
// back when the instance goes.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "engine/sound/SoundLibrary.h"

namespace zel::test {

// Puts the engine's call table back as it was when the instance was made.
class SavedSoundLibrary {
public:
    SavedSoundLibrary() : saved_(GetSoundLibrary()) {}
    ~SavedSoundLibrary() { GetSoundLibrary() = saved_; }

    SavedSoundLibrary(const SavedSoundLibrary&) = delete;
    SavedSoundLibrary& operator=(const SavedSoundLibrary&) = delete;

private:
    SoundLibrary saved_;
};

class FakeSoundLibrary {
public:
    FakeSoundLibrary() {
        Reset();
        SoundLibrary& library = GetSoundLibrary();
        library.BASS_SetConfig = &SetConfig;
        library.BASS_Set3DPosition = &Set3DPosition;
        library.BASS_StreamCreateFile = &StreamCreateFile;
        library.BASS_StreamFree = &StreamFree;
        library.BASS_Apply3D = &Apply3D;
        library.BASS_ChannelSetFlags = &ChannelSetFlags;
        library.BASS_ChannelSetAttributes = &ChannelSetAttributes;
        library.BASS_ChannelSet3DAttributes = &ChannelSet3DAttributes;
        library.BASS_ChannelSet3DPosition = &ChannelSet3DPosition;
        library.BASS_ChannelPlay = &ChannelPlay;
        library.BASS_ChannelStop = &ChannelStop;
        library.BASS_ChannelIsActive = &ChannelIsActive;
    }
    ~FakeSoundLibrary() { Reset(); }

    FakeSoundLibrary(const FakeSoundLibrary&) = delete;
    FakeSoundLibrary& operator=(const FakeSoundLibrary&) = delete;

    // Lines whose text starts with `prefix`.
    static int Count(const std::string& prefix) {
        int count = 0;
        for (const std::string& line : calls)
            if (line.compare(0, prefix.size(), prefix) == 0) ++count;
        return count;
    }
    // The lines that start with `prefix`, in order.
    static std::vector<std::string> Filter(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& line : calls)
            if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
        return found;
    }
    static bool IsPlaying(uint32_t stream) { return playing.count(stream) != 0; }

    static inline std::vector<std::string> calls;
    static inline std::set<uint32_t> playing;
    static inline uint32_t nextStream = 101;
    // When set, StreamCreateFile fails (returns 0).
    static inline bool refuseStreams = false;
    // The bytes of each stream created, in order.
    static inline std::vector<std::string> streamData;

private:
    SavedSoundLibrary saved_;  // restored after Reset

    static void Reset() {
        calls.clear();
        playing.clear();
        nextStream = 101;
        refuseStreams = false;
        streamData.clear();
    }

    static std::string Number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }

    static uint32_t ZEL_SOUND_CALL StreamCreateFile(int32_t memory, const void* data, uint32_t offset,
                                                     uint32_t length, uint32_t flags) {
        const uint32_t stream = refuseStreams ? 0 : nextStream++;
        calls.push_back("StreamCreateFile(" + std::to_string(memory) + "," + std::to_string(offset) + "," +
                        std::to_string(length) + "," + std::to_string(flags) + ")=" + std::to_string(stream));
        if (stream != 0) streamData.emplace_back(static_cast<const char*>(data), length);
        return stream;
    }
    static void ZEL_SOUND_CALL StreamFree(uint32_t stream) {
        calls.push_back("StreamFree(" + std::to_string(stream) + ")");
        playing.erase(stream);
    }
    static void ZEL_SOUND_CALL Apply3D() { calls.push_back("Apply3D()"); }
    static uint32_t ZEL_SOUND_CALL SetConfig(uint32_t option, uint32_t value) {
        calls.push_back("SetConfig(" + std::to_string(option) + "," + std::to_string(value) + ")");
        return value;
    }
    static std::string Vector(const SoundVector* v) {
        return v != nullptr ? Number(v->x) + " " + Number(v->y) + " " + Number(v->z) : std::string("null");
    }
    static int32_t ZEL_SOUND_CALL Set3DPosition(const SoundVector* position, const SoundVector* velocity,
                                                const SoundVector* front, const SoundVector* top) {
        calls.push_back("Set3DPosition(" + Vector(position) + "," + Vector(velocity) + "," + Vector(front) + "," +
                        Vector(top) + ")");
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelSetFlags(uint32_t channel, uint32_t flags) {
        calls.push_back("ChannelSetFlags(" + std::to_string(channel) + "," + std::to_string(flags) + ")");
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelSetAttributes(uint32_t channel, int32_t frequency, int32_t volume,
                                                       int32_t pan) {
        calls.push_back("ChannelSetAttributes(" + std::to_string(channel) + "," + std::to_string(frequency) + "," +
                        std::to_string(volume) + "," + std::to_string(pan) + ")");
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelSet3DAttributes(uint32_t channel, int32_t mode, float minimum,
                                                         float maximum, int32_t inside, int32_t outside,
                                                         int32_t outsideVolume) {
        calls.push_back("ChannelSet3DAttributes(" + std::to_string(channel) + "," + std::to_string(mode) + "," +
                        Number(minimum) + "," + Number(maximum) + "," + std::to_string(inside) + "," +
                        std::to_string(outside) + "," + std::to_string(outsideVolume) + ")");
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelSet3DPosition(uint32_t channel, const SoundVector* position,
                                                       const SoundVector* orientation, const SoundVector* velocity) {
        std::string line = "ChannelSet3DPosition(" + std::to_string(channel) + ",";
        line += position != nullptr ? Number(position->x) + " " + Number(position->y) + " " + Number(position->z)
                                    : std::string("null");
        line += orientation != nullptr ? ",orientation" : ",null";
        line += velocity != nullptr ? ",velocity)" : ",null)";
        calls.push_back(line);
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelPlay(uint32_t channel, int32_t restart) {
        calls.push_back("ChannelPlay(" + std::to_string(channel) + "," + std::to_string(restart) + ")");
        playing.insert(channel);
        return 1;
    }
    static int32_t ZEL_SOUND_CALL ChannelStop(uint32_t channel) {
        calls.push_back("ChannelStop(" + std::to_string(channel) + ")");
        playing.erase(channel);
        return 1;
    }
    static uint32_t ZEL_SOUND_CALL ChannelIsActive(uint32_t channel) {
        calls.push_back("ChannelIsActive(" + std::to_string(channel) + ")");
        return IsPlaying(channel) ? SoundLibrary::kActivePlaying : 0;
    }
};

}  // namespace zel::test
