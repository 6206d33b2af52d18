#include "player.h"

#include "platform/ui/app_context.h"
#include "platform/ui/controls.h"

namespace cw {

PlayerViewController::PlayerViewController(AppContext& context)
    : Screen(context)
{
    modal_presentation_style = ModalPresentationStyle::FullScreen;
}

void PlayerViewController::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = Color { 0, 0, 0, 1 };
    auto done = std::make_unique<Button>(Rect { { 16, 20 }, { 80, 44 } });
    done->name = "doneButton";
    done->title = "Done";
    done->on_tap = [this] { dismiss(true); };
    root->add_subview(std::move(done));
    set_view(std::move(root));
}

}
