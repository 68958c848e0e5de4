// The whole UI framework as the component uses it.
#pragma once

#include "sdk/ui.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/ComboBoxUI.h"
#include "sdk/ui/CompositeUI.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/ControlUI.h"
#include "sdk/ui/ListUI.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/OleObject.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/TimerSource.h"
#include "sdk/ui/TransitionUI.h"
#include "sdk/ui/UIDefs.h"
#include "sdk/ui/WindowUI.h"
