#pragma once

#include <string>

namespace listora {

// A time in milliseconds as the playback window shows it: whole seconds
// alone under a minute ("59"), else minutes without an upper limit and two
// digits of seconds ("62:03"). The rest of a second is dropped.
std::string PlayTimeText(int milliseconds);

}  // namespace listora
