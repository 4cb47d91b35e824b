// Runs an assembled vertex or pixel program on the processor, one vertex or
// pixel at a time, so that tests can check what a program computes (fog,
// sway, lighting, skinning, the water lookups) without a device. It knows
// the instructions and registers our material programs use; anything else
// fails the run.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zel::test {

class ShaderProgramRunner {
public:
    using Value = std::array<float, 4>;

    // Assembles `text` with our assembler and applies its def constants.
    // False (with a test failure) when it does not assemble.
    bool Load(const char* text);
    // Runs the program over the inputs and constants set; false (with a
    // test failure) at an instruction or register it does not know.
    bool Run();

    // Vertex inputs (v#), or a pixel program's colours (v#); its texture
    // coordinates (t#) and what sampler or stage n gives at a coordinate.
    Value inputs[16] = {};
    Value constants[256] = {};
    Value pixelTexCoords[8] = {};
    std::function<Value(int32_t sampler, const Value& coordinate)> sample;

    // Pixel result: oC0, or r0 of a 1.x program.
    Value color = {};
    Value position = {};
    float fog = 0.0f;
    Value colors[2] = {};
    Value texCoords[8] = {};

private:
    struct Source {
        uint32_t token;
        uint32_t address;  // relative-address token of vs_2_0, or 0
    };

    Value Read(const Source& source, int32_t offset = 0) const;
    void Write(uint32_t token, const Value& value);
    bool Execute(uint32_t opcode, uint32_t destination, const std::vector<Source>& sources);

    std::vector<uint32_t> tokens_;
    Value temps_[32] = {};
    Value textures_[8] = {};  // t#: the coordinates, or what tex sampled
    Value address_ = {};
    int32_t major_ = 1;
    bool pixel_ = false;
};

}  // namespace zel::test
