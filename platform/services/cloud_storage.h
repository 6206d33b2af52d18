#pragma once

// The cloud-storage client. The application only sets it up with its key
// and lets it finish a sign-in when the provider redirects back to us.

#include <optional>
#include <string>

namespace cw {

struct CloudAuthResult {
    enum class Kind { Success, Cancel, Error } kind;
    std::string access_token;
    std::string error;
    std::string error_description;

    bool isSuccess() const { return kind == Kind::Success; }
    bool isCancel() const { return kind == Kind::Cancel; }
    bool isError() const { return kind == Kind::Error; }
    // How the result reads in a log line.
    std::string description() const;
};

// Reads the provider's redirect form for the given key:
//   db-<appkey>://2/token#access_token=...  -> success
//   db-<appkey>://2/token#error=access_denied -> cancelled by the user
//   any other error=...                      -> error
// and anything else (another scheme, another key, no fragment) -> none.
std::optional<CloudAuthResult> parse_cloud_redirect(std::string const& app_key, std::string const& url);

class CloudStorageClient {
public:
    virtual ~CloudStorageClient() = default;
    virtual void setup_with_app_key(std::string const& key) = 0;
    virtual std::optional<CloudAuthResult> handle_redirect_url(std::string const& url) = 0;
};

// The client as this build ships it: it keeps the key and reads redirects.
// Nothing else of the provider is used by the product.
class RedirectCloudStorageClient final : public CloudStorageClient {
public:
    void setup_with_app_key(std::string const& key) override { m_key = key; }
    std::optional<CloudAuthResult> handle_redirect_url(std::string const& url) override;
    std::string const& app_key() const { return m_key; }

private:
    std::string m_key;
};

}
