// A sample classroom prompt for demonstrations: shows prompt-shaped windows with a 签到
// button at the sign-in point and prints each click it receives.
//   classroom_prompt [--width 300] [--height 322] [--count 1] [--stay] [--seconds 20]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "prompt_window.h"

int main(int argc, char** argv)
{
    int width = 300, height = 322, count = 1, seconds = 20;
    bool stay = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--width") width = next();
        else if (arg == "--height") height = next();
        else if (arg == "--count") count = next();
        else if (arg == "--seconds") seconds = next();
        else if (arg == "--stay") stay = true;
    }
    std::vector<std::unique_ptr<PromptWindow>> prompts;
    for (int i = 0; i < count; ++i)
        prompts.push_back(std::make_unique<PromptWindow>(80 + i * 340, 80, width, height, stay));
    std::printf("showing %d prompt(s) of %d x %d\n", count, width, height);
    std::fflush(stdout);

    std::vector<size_t> reported(prompts.size(), 0);
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        for (size_t i = 0; i < prompts.size(); ++i) {
            std::vector<PromptClick> clicks = prompts[i]->Clicks();
            for (; reported[i] < clicks.size(); ++reported[i]) {
                const PromptClick& c = clicks[reported[i]];
                std::printf("prompt %zu pressed at (%ld, %ld), %lu ms after it appeared; signed in %d time(s)\n",
                            i + 1, c.screen.x, c.screen.y, c.tick - prompts[i]->ShownTick(), prompts[i]->SignIns());
                std::fflush(stdout);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return 0;
}
