#pragma once
#include "model/Entry.h"
#include "platform/Window.h"
