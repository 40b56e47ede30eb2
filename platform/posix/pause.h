// POSIX hosts stand in for the Ctrl+Pause key (see posix/system.cpp).
#pragma once

namespace zun::platform {
void RequestPause(bool requested);
}
