#pragma once
// A temporary folder, the real file system, scripted prompts and an empty
// main list: what the playlist reader and writer work on.

#include "platform/native_file_system.h"
#include "platform/path_rules.h"
#include "playlist/m3u_reader.h"
#include "playlist/main_list.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace listora::test {

class PlaylistFixture : public testing::Test {
protected:
    void load(const std::string& path) { LoadToFile(list, currentFile, {fs, prompts, rules}, path); }

    std::vector<std::string> column(int c) const {
        std::vector<std::string> texts;
        for (const auto& entry : list.rows()) texts.push_back(entry.columnText(c));
        return texts;
    }

    TempDir dir;
    NativeFileSystem fs;
    ScriptedPrompts prompts;
    PathRules rules{PathStyle::Posix, CodePage::Utf8};
    MainList list;
    std::string currentFile;
};

}  // namespace listora::test
