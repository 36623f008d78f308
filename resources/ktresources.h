#pragma once

// Registers the compiled-in images and translations (":/Tintora/Resources/..."). A resource
// file linked from a static library is only registered when something calls its initialiser,
// so the program and every test that needs the resources call this once. Safe to repeat.
void ktInitResources();
