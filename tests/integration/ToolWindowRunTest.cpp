// The playback control window and the data window in the simulator as a user works them: shown
// with a user playback, the slider and the held search buttons moving the playback, the data
// window showing what the player applied.

#include <gtest/gtest.h>

#include <string>

#include "ModuleRun.h"

TEST(ToolWindowRunTest, TheControlWindowMovesThePlaybackAndTheDataWindowShowsIt) {
    const SimRun run = runModule("[SETTINGS]\nFileDialog=0\nTempDirectory=%RUN%/temp\nShowWindow=1\nShowDataWindow=1\n"
                                 "Search2=1\n[PLAYBACK]\nLoadMarkers=0\n",
                                 "local-time 2011-08-15 14:00:00\n"
                                 "duration 50\n"
                                 "at 0 fly start-engines\n"
                                 // "Recording Settings" comes first and is confirmed unchanged.
                                 "at 1 dialog 103 press 1\n"
                                 "at 1 menu \"Zephrel/Record...\"\n"
                                 "at 2 fly circuit 800\n"
                                 "at 31 menu \"Zephrel/Stop Recording...\"\n"
                                 "at 31.5 expect window \"Zephrel\" hidden\n"
                                 "at 32 answer file \"%RUN%/flights/Zephrel_2011-08-15_14-00-31_0000.zfl\" "
                                 "title \"Open Recorded Flight\"\n"
                                 "at 32 menu \"Zephrel/Play...\"\n"
                                 "at 32.5 expect window \"Zephrel\" shown\n"
                                 "at 32.5 expect window \"Zephrel Data\" shown\n"
                                 "at 32.5 expect menu \"Zephrel/Control Window\" checked\n"
                                 // The slider's middle is the recording's middle.
                                 "at 33 perform \"Zephrel\" position 1004 175\n"
                                 "at 33.25 expect status \"PLAYBACK [15 / 29 seconds]\"\n"
                                 // The time stamp applied in the frame after the jump, two frames on.
                                 "at 33.25 expect text \"Zephrel Data\" 1124 \"15.2sec\"\n"
                                 // ">>" held half a second searches 15 times as fast: 7.5 s on.
                                 "at 34 perform \"Zephrel\" hold 1006\n"
                                 "at 34.5 perform \"Zephrel\" release 1006\n"
                                 "at 35 expect status \"PLAYBACK [23 / 29 seconds]\"\n"
                                 "at 36 menu \"Zephrel/Control Window\"\n"
                                 "at 36.25 expect window \"Zephrel\" hidden\n"
                                 "at 36.25 expect menu \"Zephrel/Control Window\" unchecked\n"
                                 "at 40 menu \"Zephrel/Stop Playback\"\n"
                                 "at 46 expect window \"Zephrel Data\" hidden\n");
    expectCleanRun(run);
}
