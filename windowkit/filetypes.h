// The kinds of entry Qt's file dialogs name in their lists, in French. Qt's
// French catalogue has them, but not where this Qt looks for them, so they
// would show in English ("Folder", "PDF File"). Keep it beside the dialog:
//
//     FrenchFileTypes types;
//     QFileDialog dialog(parent);
//     dialog.setIconProvider(&types);
#pragma once

#include <QFileIconProvider>

namespace molvane {

class FrenchFileTypes final : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override;
};

}  // namespace molvane
