#pragma once
// The core fixture and an empty main list: what the playlist reader and
// writer work on.

#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "support/core_fixture.h"

namespace listora::test {

class PlaylistFixture : public CoreFixture {
protected:
    void load(const std::string& path) { LoadToFile(list, currentFile, {fs, prompts, rules}, path); }

    std::vector<std::string> column(int c) const {
        std::vector<std::string> texts;
        for (const auto& entry : list.rows()) texts.emplace_back(entry.columnText(c));
        return texts;
    }

    MainList list;
    std::string currentFile;
};

}  // namespace listora::test
