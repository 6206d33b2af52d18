// The prompter's microphone: the points where a run starts and ends voice
// listening. Camera recording lives in recording.cpp.

#include "scriptViewController.h"

#include "platform/ui/app_context.h"

namespace cw {

void scriptViewController::startVoiceScroll()
{
    m_voice.startVoiceScroll();
}

void scriptViewController::stopVoiceScroll()
{
    m_voice.stopVoiceScroll();
}

}
