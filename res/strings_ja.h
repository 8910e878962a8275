/* Japanese texts of the resource library Morvane.dll, in UTF-8: the .rc file
   reads them with code page 65001 into the string table's UTF-16, which
   LoadStringA gives in code page 932. Platform-free, like strings_en.h; the
   same limits hold, counted in code page 932 bytes (two for each Japanese
   character). */
#ifndef MORVANE_STRINGS_JA_H
#define MORVANE_STRINGS_JA_H

#define TEXT_JA_PAGE0_HEADING "カメラが接続されていません"
#define TEXT_JA_PAGE0_BODY                                                                          \
    "カメラを USB ポートに接続して、"                                                  \
    "電源を入れてください。数秒後に Morvane がカメラを自動的に検出し、" \
    "ここに映像を表示します。"
#define TEXT_JA_PAGE1_HEADING "サウンド"
#define TEXT_JA_PAGE1_NOTE "ステップ 1/4"
#define TEXT_JA_PAGE1_CAPTION "オーディオ キャプチャ デバイス"
#define TEXT_JA_PAGE1_BODY                                                                         \
    "カメラの音声を録音するデバイスを選択してください。"                  \
    "スピーカーの横のスライダでプレビューの音量を調節します。"         \
    "スピーカー ボタンを押すと消音になります。"
#define TEXT_JA_PAGE2_HEADING "画質"
#define TEXT_JA_PAGE2_NOTE "ステップ 2/4"
#define TEXT_JA_PAGE2_CAPTION "画質"
#define TEXT_JA_PAGE2_BODY                                                                         \
    "左端で最も高画質に、右端で最も軽いストリームになります。"         \
    "変更するたびにプレビューが再開されます。"                                 \
    "[リセット] を押すと、カメラ本来の設定に戻ります。"
#define TEXT_JA_PAGE3_HEADING "明るさ"
#define TEXT_JA_PAGE3_NOTE "ステップ 3/4"
#define TEXT_JA_PAGE3_CAPTION "明るさ"
#define TEXT_JA_PAGE3_BODY                                                                          \
    "スライダを動かすと、カメラの明るさがそれに合わせて変わります。" \
    "[リセット] を押すと、カメラ本来の明るさに戻ります。"
#define TEXT_JA_PAGE4_HEADING "ストリーミングの準備ができました"
#define TEXT_JA_PAGE4_BODY                                                                         \
    "選択した設定が反映されています。"                                             \
    "この設定を保存するには [完了] を、"                                            \
    "変更前の設定に戻すには [キャンセル] を押してください。"
#define TEXT_JA_NEXT "次へ >"
#define TEXT_JA_PREV "< 戻る"
#define TEXT_JA_FINISH "完了"
#define TEXT_JA_CANCEL "キャンセル"
#define TEXT_JA_RESET "リセット"
#define TEXT_JA_ABOUT_OK "OK"
#define TEXT_JA_ABOUT_TITLE "Morvane カメラ ストリーミング セットアップ"
/* The names a screen reader gives the skinned controls. */
#define TEXT_JA_NAME_PLAY "再生"
#define TEXT_JA_NAME_PAUSE "一時停止"
#define TEXT_JA_NAME_STOP "停止"
#define TEXT_JA_NAME_FORWARD "早送り"
#define TEXT_JA_NAME_REWIND "巻き戻し"
#define TEXT_JA_NAME_MUTE "消音"
#define TEXT_JA_NAME_VOLUME "音量"
#define TEXT_JA_NAME_QUALITY "画質"
#define TEXT_JA_NAME_BRIGHTNESS "明るさ"
#define TEXT_JA_NAME_CLOSE "閉じる"
#define TEXT_JA_NAME_MINIMIZE "最小化"

#endif
