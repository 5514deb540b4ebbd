#include "Speech.h"

#include "Announcer.h"
#include "SpeechDispatcher.h"

#include <utility>

namespace {

TSpeaker* ReplacedSpeaker = nullptr;

} // namespace

TSpeaker& Speaker()
{
    if (ReplacedSpeaker)
        return *ReplacedSpeaker;
#if MVK_ANNOUNCEMENTS
    static TAnnouncer* const Announcer = new TAnnouncer;
    return *Announcer;
#else
    static TSpeechDispatcher* const Dispatcher = new TSpeechDispatcher;
    return *Dispatcher;
#endif
}

TSpeaker* SetSpeaker(TSpeaker* speaker) { return std::exchange(ReplacedSpeaker, speaker); }
