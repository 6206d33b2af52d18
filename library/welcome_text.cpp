#include "welcome_text.h"

#include "app/product_info.h"

namespace cw {

std::string welcome_text()
{
    // Four paragraphs, two line feeds apart. The first three end with a
    // blank; the last starts with one.
    static char const* const paragraphs[] = {
        "Welcome to Cuewright. 👋 ",
        "Use this area to type a new script directly in the app. Simply tap anywhere to edit. You can type as much as you need here and all settings are configured in the next window! 🪄 ",
        "If you have any problems at all please just hit the HELP button in the settings window! ",
    };
    std::string text;
    for (auto const* paragraph : paragraphs) {
        text += paragraph;
        text += "\n\n";
    }
    text += " 🙏🏻 Thank you for choosing Cuewright! For help and support, just e-mail us at ";
    text += product::support_email;
    text += " and we will gladly help you out.";
    return text;
}

}
