#pragma once

#include "core/ports/prompts.h"

namespace bench {

// The benchmark's playlist has its header, so no question should come; if
// one does, it is answered Yes so the run goes on as a user would let it.
// The copy's one question, whether the rows should name the copies, is
// answered Yes too. A gather tells of a folder listing that broke off; the
// notice is dropped, and the count of rows gathered shows the loss.
class YesPrompts : public listora::Prompts {
public:
    void information(const std::string&) override {}
    listora::Answer confirm(listora::Question, const std::string&, listora::Buttons) override {
        return listora::Answer::Yes;
    }
    listora::Answer warn(listora::Question, const std::string&, listora::Buttons) override {
        return listora::Answer::Yes;
    }
    void error(const std::string&) override {}
    std::optional<listora::FileChoice> askOpenFile(const listora::FileDialogRequest&) override { return {}; }
    std::optional<listora::FileChoice> askSaveFile(const listora::FileDialogRequest&) override { return {}; }
};

}  // namespace bench
