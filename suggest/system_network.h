// SPDX-License-Identifier: MIT
// The network layer of the system the program is built for.
#ifndef QUP_SUGGEST_SYSTEM_NETWORK_H
#define QUP_SUGGEST_SYSTEM_NETWORK_H

#if defined(_WIN32)
#include "suggest/win32/winsock_network.h"
#elif defined(__EMSCRIPTEN__)
#include "suggest/web/fetch_network.h"
#else
#include "suggest/qt/posix_network.h"
#endif

namespace qup::suggest {

#if defined(_WIN32)
using SystemNetwork = WinsockNetwork;
#elif defined(__EMSCRIPTEN__)
using SystemNetwork = FetchNetwork;
#else
using SystemNetwork = PosixNetwork;
#endif

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_SYSTEM_NETWORK_H
