#pragma once
// "Let pending window events run": the one place the program yields to the event loop from
// inside an operation. Re-entry into any handler can happen here.

namespace platform {

void processPendingEvents();

} // namespace platform
