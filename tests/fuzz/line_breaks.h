#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// "\r\n", a lone "\r" and a lone "\n" all become "\r\n": the writer turns
// each into a paragraph, which reads back as "\r\n".
inline std::string LineBreaksNormalised(std::string_view in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\r' || in[i] == '\n') {
            if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += in[i];
        }
    }
    return out;
}
