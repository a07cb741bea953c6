#pragma once
// A plug-in in the host stand-in at 50 x 50 whose bank A runs an Image entry
// of the given pictures, set up through the image editors as a user does. The
// entry's editor stays open for the benchmark's own settings and its OK.
#include <string>
#include <vector>

#include "core/kavrel.h"
#include "host/kavrel_plugin.h"
#include "host/orva_host.h"
#include "main_window/matrix_form.h"
#include "platform/driver/user_driver.h"

class ImageSession {
  public:
    explicit ImageSession(const std::vector<std::string>& pictures) : user_(openAt50(host_)) {
        desktop().autoAcknowledgeMessages = true;
        user_.set("MatrixForm.typeA", "Image");
        user_.click("MatrixForm.editA");
        user_.click("MxImageForm.BImage");
        for (const std::string& path : pictures) {
            platform::DialogAnswer answer;
            answer.kind = platform::DialogAnswer::Kind::File;
            answer.path = path;
            desktop().queueDialogAnswer(answer);
            user_.click("MxImageList.addImage");
        }
        user_.click("MxImageList.OK");
    }
    ~ImageSession() { host_.close(); }
    ImageSession(const ImageSession&) = delete;
    ImageSession& operator=(const ImageSession&) = delete;

    platform::Desktop& desktop() { return host_.plugin().desktop(); }
    platform::UserDriver& user() { return user_; }
    kavrel::BankContext& bankA() {
        return static_cast<orva::KavrelHostedPlugin&>(host_.plugin())
            .plugin()
            .mainWindow()
            .form()
            .bankA();
    }

  private:
    static platform::Desktop& openAt50(orva::OrvaHost& host) {
        orva::StartOptions options;
        options.gridCols = 50;
        options.gridRows = 50;
        host.open(options);
        return host.plugin().desktop();
    }

    orva::OrvaHost host_{&orva::createKavrelPlugin};
    platform::UserDriver user_;
};
