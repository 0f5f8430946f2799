#pragma once
// The application object: runs the main window on the user-interface thread.

namespace app {

class CCorvaneApp {
public:
    // Runs the program until its main window ends; returns false so that the
    // process ends afterwards.
    bool InitInstance();
};

extern CCorvaneApp theApp;

// Every process-wide object back to its constructed state (for tests).
void ResetProcessState();

}  // namespace app
