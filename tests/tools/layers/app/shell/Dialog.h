#pragma once
#include "platform/Window.h"
#include "model/Entry.h"
