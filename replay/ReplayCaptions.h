#pragma once
// The replay controls' fixed captions and messages, shared by the panel, its dialog and tests.

#include <QString>

namespace replaytext {

inline QString menuWmp(bool replayMode)
{
    return replayMode ? QStringLiteral("通常モード") : QStringLiteral("動画と過去ログを連動");
}

inline QString cmdMoveiFile() { return QStringLiteral("動画ファイル"); }
inline QString cmdOpenDatFolderClosed() { return QStringLiteral("Datフォルダの指定"); }
inline QString cmdOpenDatFolderOpen() { return QStringLiteral("Datフォルダ確定"); }
inline QString fileListDatToolTip() { return QStringLiteral("デフォルトパスはEXEと同じフォルダのplaydatフォルダです"); }
inline QString cmdWmpStartTimeSet() { return QStringLiteral("開始時間の指定"); }
inline QString Command3() { return QStringLiteral("Datの読み込み"); }
inline QString cmdWmpDelete() { return QStringLiteral("再セット"); }
inline QString lblStartTime() { return QStringLiteral("開始時間レス"); }
inline QString lblStartTimeChosen(const QString &row) { return QStringLiteral("開始時間レス：") + row; }
inline QString lblMovieName() { return QStringLiteral("ファイル名"); }
inline QString lblWmpDatResCount() { return QStringLiteral("レス数"); }
inline QString Label6() { return QStringLiteral("現在のレス番 ："); }
inline QString offsetLabel() { return QStringLiteral("ずれ補正(秒)"); }
inline QString offsetToolTip()
{
    return QStringLiteral("動画の位置にこの秒数を足して過去ログを探します（←→で1秒、Shift+←→で10秒）");
}

inline QString selectDatTimeCaption() { return QStringLiteral("開始時間を選択してください"); }
inline QString noDatFile() { return QStringLiteral("datファイルがありません"); }
inline QString chooseTime() { return QStringLiteral("時間を選択して下さい"); }

// The video dialog's filter, in the "description|patterns|" form of the original dialog.
inline QString videoFilter()
{
    return QStringLiteral("メディアファイル(*.avi,*.wmv,*.wma,*.mp3,*.mpg2,*.mpg)|*.avi;*.wmv;*.wma;*.mp3;*.mpg2;*.mpg|");
}

} // namespace replaytext
