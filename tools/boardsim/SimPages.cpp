#include "SimPages.h"

#include "ReadRange.h"
#include "SimTime.h"

#include <QRegularExpression>

namespace simpages {
namespace {

const QString kHead = QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");

QString boardUrl(const BoardWorld &world, const SimBoard &board)
{
    return QStringLiteral("http://") + world.hosts().hostPort(board.host) + QLatin1Char('/') + board.key + QLatin1Char('/');
}

// The menu writes its links in the several forms found in the wild.
QString menuLink(const QString &form, const QString &url, const QString &name)
{
    if (form == QLatin1String("lower"))
        return QStringLiteral("<a href=%1>%2</a>").arg(url, name);
    if (form == QLatin1String("spaced"))
        return QStringLiteral("<A HREF = %1>%2</A>").arg(url, name);
    if (form == QLatin1String("quoted"))
        return QStringLiteral("<A HREF=\"%1\">%2</A>").arg(url, name);
    if (form == QLatin1String("lowerspaced"))
        return QStringLiteral("<a href= %1 >%2</a>").arg(url, name);
    return QStringLiteral("<A HREF=%1>%2</A>").arg(url, name);
}

QString htmlEscape(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    out.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    out.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return out;
}

} // namespace

QString boardMenu(const BoardWorld &world)
{
    const QString main = QStringLiteral("http://") + world.hosts().main();
    QString page;
    page += QStringLiteral("<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
                           "<TITLE>BBS MENU</TITLE>\n<BASE TARGET=\"cont\">\n</HEAD>\n\n");
    page += QStringLiteral("<BODY TEXT=\"#CC3300\" BGCOLOR=\"#FFFFFF\" link=\"#0000FF\" alink=\"#ff0000\" vlink=\"#660099\">\n");
    page += QStringLiteral("<a href=%1/tv/><img src=%1/img/1.gif width=75 height=75 border=0></a>\n\n<BR>\n<font size=2>\n\n")
                .arg(main);
    page += QStringLiteral("<FORM name=f action=%1/search method=get>\n\t<INPUT size=10 name=STR>\n"
                           "\t<INPUT type=submit value=検索>\n</FORM>\n\n")
                .arg(main);
    page += QStringLiteral("<A HREF=%1/ TARGET=\"_top\">掲示板の入り口</A><br>\n<A HREF=%1/guide/>総合案内</A>\n").arg(main);

    for (int c = 0; c < world.categories().size(); ++c) {
        QStringList links;
        for (const SimBoard &board : world.boards()) {
            if (board.category == c)
                links << menuLink(board.linkForm, boardUrl(world, board), board.name);
        }
        // Not every link of a category is a board.
        if (c == world.categories().size() - 1)
            links << QStringLiteral("<A HREF=%1/tv/>実況勢いグラフ</A>").arg(main);
        page += QStringLiteral("\n<BR><BR><B>") + world.categories().at(c) + QStringLiteral("</B><BR>\n");
        page += links.join(QStringLiteral("<br>\n")) + QLatin1Char('\n');
    }
    page += QStringLiteral("\n<br>更新日24/05/01\n</font>\n</BODY></HTML>\n");
    return page;
}

QString subjectText(const SimBoard &board)
{
    QString text;
    for (const SimThread *thread : board.byActivity())
        text += QStringLiteral("%1.dat<>%2 (%3)\n").arg(thread->key).arg(thread->title).arg(thread->count());
    return text;
}

QString subback(const BoardWorld &world, const SimBoard &board)
{
    QString page = QStringLiteral("<html><head>") + kHead + QStringLiteral("<title>") + htmlEscape(board.name)
        + QStringLiteral("＠掲示板</title><base href=\"") + world.readCgiBase(board)
        + QStringLiteral("\" target=\"body\"></head><body>\n<font size=2><small id=\"trad\">\n");
    int i = 0;
    for (const SimThread *thread : board.byActivity()) {
        page += QStringLiteral("<a href=\"%1/l50\">%2: %3 (%4)</a>\n")
                    .arg(thread->key)
                    .arg(++i)
                    .arg(htmlEscape(thread->title))
                    .arg(thread->count());
    }
    page += QStringLiteral("</small></font><div align=\"right\"><a href=\"/%1/kako/\"><b>過去ログ倉庫はこちら</b></a></div>"
                           "</body></html>\n")
                .arg(board.key);
    return page;
}

QString linkBody(const BoardWorld &world, const QString &body)
{
    static const QRegularExpression address(QStringLiteral("http://[A-Za-z0-9.:/_%~=+?\\-]+"));
    QString out;
    qsizetype last = 0;
    auto it = address.globalMatch(body);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString url = m.captured(0);
        out += body.mid(last, m.capturedStart() - last);
        const QString href = url.contains(QLatin1String("/test/read.cgi/"))
            ? url
            : QStringLiteral("http://") + world.hosts().redirectorPrefix() + url.mid(7);
        out += QStringLiteral("<a href=\"%1\" target=\"_blank\">%2</a>").arg(href, url);
        last = m.capturedEnd();
    }
    out += body.mid(last);
    return out;
}

QString readCgi(const BoardWorld &world, const SimBoard &board, const SimThread &thread, const QString &range)
{
    const bool outside = board.host == SimHost::OutsideA || board.host == SimHost::OutsideB;
    const QString base = world.readCgiBase(board) + QString::number(thread.key) + QLatin1Char('/');
    const QString title = htmlEscape(thread.title);
    QString page = QStringLiteral("<html><head>") + kHead + QStringLiteral("<title>") + title
        + QStringLiteral("</title></head>\n<body bgcolor=#efefef text=black link=blue alink=red vlink=#660099>\n");
    page += QStringLiteral("<div style=\"margin-top:1em;\"><a href=\"%1\">■掲示板に戻る■</a> <a href=\"%2\">全部</a> "
                           "<a href=\"%3\">1-</a> <a href=\"%4\">最新50</a></div>\n")
                .arg(boardUrl(world, board), base, base + QStringLiteral("1-100"), base + QStringLiteral("l50"));
    page += QStringLiteral("<hr style=\"background-color:#888;color:#888;border-width:0;height:1px;position:relative;top:-.4em;\">"
                           "<h1 style=\"color:red;font-size:larger;font-weight:normal;margin:-.5em 0 0;\">")
        + title + QStringLiteral("</h1>\n<dl class=\"thread\">\n");
    for (const int n : selectResponses(range, thread.count(), outside)) {
        const SimResponse &r = thread.responses.at(n - 1);
        const QString name = r.mail.isEmpty()
            ? QStringLiteral("<font color=green><b>%1</b></font>").arg(r.name)
            : QStringLiteral("<a href=\"mailto:%1\"><b>%2</b></a>").arg(r.mail, r.name);
        page += QStringLiteral("<dt>%1 ：%2：%3<dd>%4<br><br>\n").arg(n).arg(name, r.dateField, linkBody(world, r.body));
    }
    page += QStringLiteral("</dl>\n");
    if (thread.count() > 1000)
        page += QStringLiteral("<div style=\"color:red;\">このスレッドは１０００を超えました。もう書けないので、新しいスレッドを立ててください。</div>\n");
    page += QStringLiteral("<font color=red face=\"Arial\"><b>%1 KB</b></font>\n").arg(thread.dat.size() / 1024);
    page += QStringLiteral("<hr><center><a href=\"%1\">新着レスの表示</a></center>\n")
                .arg(base + QString::number(thread.count()) + (outside ? QStringLiteral("-") : QStringLiteral("n-")));
    page += QStringLiteral("<hr><a href=\"%1\">掲示板に戻る</a> <a href=\"%2\">全部</a> <a href=\"%3\">最新50</a>\n")
                .arg(boardUrl(world, board), base, base + QStringLiteral("l50"));
    page += QStringLiteral("<form method=POST action=\"../test/bbs.cgi\"><input type=submit value=\"書き込む\" name=submit> "
                           "名前： <input name=FROM size=19> E-mail<font size=1> (省略可) </font>: "
                           "<input name=mail size=19><br><textarea rows=5 cols=70 wrap=off name=MESSAGE></textarea>"
                           "<input type=hidden name=bbs value=%1><input type=hidden name=key value=%2></form>\n")
                .arg(board.key)
                .arg(thread.key);
    page += QStringLiteral("</body></html>\n");
    return page;
}

QString overloaded(const BoardWorld &world, const SimBoard &board)
{
    return QStringLiteral("<html><head>") + kHead
        + QStringLiteral("<title>もうずっと人大杉</title></head>\n<body bgcolor=#efefef>\n"
                         "<h1>もうずっと人大杉</h1>\n<p>サーバーが大変混み合っています。専用ブラウザを使ってください。</p>\n")
        + QStringLiteral("<p><a href=\"%1\">掲示板に戻る</a></p>\n</body></html>\n").arg(boardUrl(world, board));
}

QString tvGraph(const BoardWorld &world, qint64 nowMs)
{
    QString page = QStringLiteral("<html><head>") + kHead
        + QStringLiteral("<title>地上波実況板勢いグラフ</title></head>\n<body bgcolor=#ffffff>\n"
                         "<H1>地上波実況板勢いグラフ</H1>\n");
    page += QStringLiteral("<div style=\"font-size:small\">%1 現在・1分あたりのレス数</div>\n")
                .arg(formatPostTime(nowMs).left(22));
    QString table = QStringLiteral("<TABLE border=1 cellpadding=2 cellspacing=0>\n<tr><th>板</th><th>スレッド</th><th>レス数</th><th>勢い</th></tr>\n");
    for (const SimBoard &board : world.boards()) {
        if (!board.live)
            continue;
        const int momentum = world.postsInLastMinute(board, nowMs);
        page += QStringLiteral("<div style=\"margin:2px 0\"><span style=\"display:inline-block;width:140px\">%1</span>"
                               "<span style=\"display:inline-block;background:#f60;height:12px;width:%2px\"></span> %3</div>\n")
                    .arg(htmlEscape(board.name))
                    .arg(qMin(600, 4 * momentum + 2))
                    .arg(momentum);
        const SimThread *top = board.byActivity().value(0);
        if (top) {
            table += QStringLiteral("<tr><td>%1</td><td><a href=\"%2%3/l50\">%4</a></td><td>%5</td><td>%6</td></tr>\n")
                         .arg(htmlEscape(board.name), world.readCgiBase(board))
                         .arg(top->key)
                         .arg(htmlEscape(top->title))
                         .arg(top->count())
                         .arg(momentum);
        }
    }
    page += table + QStringLiteral("</TABLE>\n</body></html>\n");
    return page;
}

QString rootPage(const BoardWorld &world)
{
    return QStringLiteral("<html><head>") + kHead
        + QStringLiteral("<title>掲示板</title></head><body>\n<p><a href=\"%1\">板一覧</a></p>\n</body></html>\n")
              .arg(world.hosts().menuUrl());
}

QString errorPage(int status, const QString &reason)
{
    return QStringLiteral("<html>\r\n<head><title>%1 %2</title></head>\r\n<body>\r\n<center><h1>%1 %2</h1></center>\r\n"
                          "<hr><center>boardsim</center>\r\n</body>\r\n</html>\r\n")
        .arg(status)
        .arg(reason);
}

} // namespace simpages
