// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The same fixed frame on any desktop: call before the application object exists, then
// applyApplicationLook() once it does.
void prepareApplication();
void applyApplicationLook();
