<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
  <context>
    <name>frmBrowser</name>
    <message>
      <source>Help</source>
      <translation>帮助</translation>
    </message>
    <message>
      <source>Translate</source>
      <translation type="obsolete">翻译</translation>
    </message>
  </context>
</TS>
