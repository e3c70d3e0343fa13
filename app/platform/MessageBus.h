#pragma once
// Registered window messages that any process may send, delivered to the
// dialog as its own message: WindowMessageBus with Register(name, message) and
// Listening(), one per backend.
#ifdef _WIN32
#include "platform/win32/MessageBus.h"
#else
#include "platform/qt/MessageBus.h"
#endif
