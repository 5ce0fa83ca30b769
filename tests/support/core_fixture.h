#pragma once
// What a test of the core works on: a fresh temporary folder that is the
// current directory, the real file system, scripted prompts, a clock stopped
// on 7 December 2026, a status line and a shell that record, and Linux path
// rules in UTF-8.

#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "support/fixed_ports.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace listora::test {

class CoreFixture : public testing::Test {
protected:
    TempDir dir;
    NativeFileSystem fs;
    ScriptedPrompts prompts;
    FixedClock clock;
    RecordingStatusLine status;
    RecordingShell shell;
    PathRules rules{PathStyle::Posix, CodePage::Utf8};
};

}  // namespace listora::test
