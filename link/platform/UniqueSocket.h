#pragma once
// A Winsock socket that closes itself (closesocket).
//
// The value is a SOCKET held as std::uintptr_t, its underlying type, so that
// this header needs no winsock2.h: that one must come before windows.h, which
// the link's headers bring in first.

#include "UniqueResource.h"

#include <cstdint>

namespace zrn {

struct SocketTraits {
    using Value = std::uintptr_t;
    static constexpr Value None() { return ~Value{0}; } // INVALID_SOCKET
    static bool Valid(Value socket) { return socket != None(); }
    static void Close(Value socket); // NetPortWin.cpp
};

using UniqueSocket = UniqueResource<SocketTraits>;

} // namespace zrn
