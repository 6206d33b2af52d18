#include "back_ends.h"

#include "platform/linux/pulse_audio.h"
#include "platform/sim/sim_platform.h"
#include "platform/ui/app_context.h"

namespace cw::web {

void install_linux_services(AppContext& context, sim::SimPlatform& stand_ins)
{
    // Every service the simulated platform knows, until a real one exists.
    stand_ins.install(context);
    context.services.provide<AudioService>(std::make_shared<PulseAudioService>(context.loop, context.log));
}

}
