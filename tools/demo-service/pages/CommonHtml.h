#pragma once

// Shared head of every demo page: styles and the small helpers the page scripts use. Pages are
// served with "%SESSID%" replaced by the session id and "%TITLE%" by the page title.

namespace demo::pages {

inline constexpr const char* kHead = R"HTML(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8">
<meta name="generator" content="QZEARVersion 3.2.1">
<title>%TITLE%</title>
<style>
body{margin:0;font:12px/1.6 "Microsoft YaHei","PingFang SC","Noto Sans CJK SC",sans-serif;color:#233;background:#f4f7fb}
.bar{display:flex;align-items:center;gap:8px;padding:6px 10px;background:#fff;border-bottom:1px solid #dde6f0}
.bar .upd{margin-left:auto;color:#7a8ca0}
.flash{animation:flash 1s}
@keyframes flash{from{background:#fff4c2}to{background:#fff}}
table{width:100%;border-collapse:collapse;background:#fff}
th{background:#eaf1f9;color:#345;font-weight:normal;padding:5px 6px;text-align:left;border-bottom:1px solid #d5e0ec}
td{padding:5px 6px;border-bottom:1px solid #eef2f6}
tr:hover td{background:#f7fbff}
.up{color:#d9302c}.down{color:#1a9a4b}.tag{display:inline-block;padding:0 6px;border-radius:3px;background:#e8f1fb;color:#2a6fb0}
.btn{display:inline-block;padding:2px 8px;border:1px solid #309de9;border-radius:3px;color:#1c7fc9;background:#fff;cursor:pointer;font-size:12px}
.btn:hover{background:#309de9;color:#fff}
.btn.main{background:#309de9;color:#fff}
.card{background:#fff;border:1px solid #dde6f0;border-radius:4px;margin:8px;padding:8px 10px}
.cards{display:flex;flex-wrap:wrap}.cards .card{width:calc(50% - 38px)}
.hidden{display:none!important}
.muted{color:#8797a8}
h2{font-size:14px;margin:4px 0}
#toast{position:fixed;right:10px;bottom:10px;max-width:70%;padding:6px 10px;background:rgba(20,40,60,.88);color:#fff;border-radius:4px;font-size:12px;opacity:0;transition:opacity .3s}
#toast.show{opacity:1}
</style></head><body>
<div id="toast"></div>
<script>
var SESSID = '%SESSID%';
function toast(t) {
  var e = document.getElementById('toast');
  e.textContent = t; e.className = 'show';
  clearTimeout(window.__toastTimer);
  window.__toastTimer = setTimeout(function () { e.className = ''; }, 2500);
}
// Calls a client command; shows what came back (the demo pages run in an ordinary browser too).
function fcb(name, params) {
  var text = typeof params === 'string' ? params : JSON.stringify(params || {});
  try {
    var r = window.external.FCB(name, text);
    toast(name + ' → ' + (r === '' ? '（空）' : r));
    return r;
  } catch (e) {
    toast(name + ' 未执行：' + e.message);
    return null;
  }
}
function nowText() { var d = new Date(); return d.toLocaleDateString('zh-CN') + ' ' + d.toLocaleTimeString('zh-CN', {hour12: false}); }
function stamp(note) {
  var u = document.getElementById('upd');
  if (!u) return;
  u.textContent = (note || '更新于') + ' ' + nowText();
  u.parentNode.classList.remove('flash'); void u.offsetWidth; u.parentNode.classList.add('flash');
}
function esc(s) { return String(s).replace(/[&<>"']/g, function (c) { return '&#' + c.charCodeAt(0) + ';'; }); }
</script>
)HTML";

inline constexpr const char* kTail = R"HTML(
</body></html>
)HTML";

} // namespace demo::pages
