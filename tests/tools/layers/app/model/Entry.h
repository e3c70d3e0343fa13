#pragma once
#include "../shell/Dialog.h"
