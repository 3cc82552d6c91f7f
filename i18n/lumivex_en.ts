<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>Tool</name>
    <message><source>선택</source><translation>Select</translation></message>
    <message><source>사각형(테두리)</source><translation>Rectangle (outline)</translation></message>
    <message><source>사각형(채움)</source><translation>Rectangle (filled)</translation></message>
    <message><source>원/타원(채움)</source><translation>Ellipse (filled)</translation></message>
    <message><source>다각형(채움)</source><translation>Polygon (filled)</translation></message>
    <message><source>화살표</source><translation>Arrow</translation></message>
    <message><source>텍스트</source><translation>Text</translation></message>
    <message><source>블러</source><translation>Blur</translation></message>
    <message><source>자르기</source><translation>Crop</translation></message>
    <message><source>텍스트 추출</source><translation>Extract text</translation></message>
</context>
</TS>
