#pragma once
// The c[] rows a program compiled by slc reads: the given uniforms by name at
// the registers of its bind lines (an array or matrix one row a register),
// and the literals of its const lines.

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/vertex_program/vertex_program_interpreter.h"

namespace demo::test {

using Uniforms = std::map<std::string, std::vector<vp::Vec4>>;

inline std::map<int, vp::Vec4> slcObjectRows(const std::string& object, const Uniforms& uniforms) {
    std::map<int, vp::Vec4> rows;
    std::istringstream lines(object);
    for (std::string line; std::getline(lines, line);) {
        char name[64];
        int reg = 0;
        vp::Vec4 k{};
        if (std::sscanf(line.c_str(), "#pragma bind main.%63s = c %d", name, &reg) == 2) {
            for (const vp::Vec4& row : uniforms.at(name)) rows[reg++] = row;
        } else if (std::sscanf(line.c_str(), "#const c[%d] = %f %f %f %f", &reg, &k[0], &k[1], &k[2], &k[3]) == 5) {
            rows[reg] = k;
        }
    }
    return rows;
}

}  // namespace demo::test
