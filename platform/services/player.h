#pragma once

// Playing a movie: a player for a file, and the platform's full-screen
// player screen that shows it.

#include "platform/ui/screen.h"

#include <memory>
#include <string>

namespace cw {

class Player {
public:
    virtual ~Player() = default;
    virtual std::string const& url() const = 0;
    virtual void play() = 0;
    virtual bool is_playing() const = 0;
};

class PlayerService {
public:
    virtual ~PlayerService() = default;
    virtual std::shared_ptr<Player> player_with_url(std::string const& file_url) = 0;
};

// Full screen, black, with the platform's "Done" button that closes it.
class PlayerViewController final : public Screen {
public:
    explicit PlayerViewController(AppContext&);
    std::shared_ptr<Player> player;

    char const* class_name() const override { return "PlayerViewController"; }
    void loadView() override;
    void describe(Record& record) const override
    {
        record["url"] = Value(player ? player->url() : std::string {});
        record["playing"] = Value(player && player->is_playing());
    }
};

}
