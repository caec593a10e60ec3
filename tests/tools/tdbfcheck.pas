{ Reads and writes dBASE tables with TDbf, Free Pascal's dBASE engine, as an independent
  implementation to check the table engine against.

    tdbfcheck dump <table.dbf>
      Prints the table's header facts, fields and records in canonical text (below).
    tdbfcheck write <table.dbf> <content.txt>
      Creates the table from a content file in the same canonical text and fills it.
    tdbfcheck append <table.dbf> <content.txt>
      Appends the content file's records to an existing table.
    tdbfcheck tags <table.dbf>
      Lists the tags of the table's production index, each followed by the physical record
      numbers in that tag's order:  tag <NAME> <expression> asc|desc  then  order <n> <n> ...
    tdbfcheck index <table.dbf> <FIELD>[:desc] ...
      Adds one tag per field (named after it) to the table's production index.

  Canonical text, one item a line:
    level <TableLevel>            3, 4 or 7
    langid <byte 29 / driver id>  TDbf's LanguageID
    langname <name>               level 7 driver name (dump only)
    codepage <n>                  the code page TDbf decided on (dump only)
    field <NAME> <type> <size> <precision>
                                  type is the stored dBASE letter (C N F I O L D @ M)
    record <n> [deleted]          (on write: "record" or "record deleted")
    <NAME>=<value>
    end

  Values: <null> for an empty field; integers in decimal; floats as the 16 hex digits of the
  IEEE double, then the decimal form in parentheses (only the hex digits are read back);
  dates yyyy.mm.dd; date-times yyyy.mm.dd hh:nn:ss.zzz; logicals T or F; texts and memos in
  UTF-8 with \\ \n \r \t and \xHH escapes. Text is converted between UTF-8 and the table's
  code page as TDbf decides it, exactly as a program on Windows would see it; TDbf's own
  translation (which depends on the machine's ANSI code page) is switched off. }
program tdbfcheck;

{$mode objfpc}{$H+}

uses
  cwstring, Classes, SysUtils, DB, dbf, dbf_fields, dbf_idxfile, dbf_collate;

// TDbf carries the weight table of the Borland Hungarian ANSI driver (ANHUNDC) only in a part
// of its source that is compiled out, and maps no driver id to it, so it would order the keys
// of Windows-1250 tables by plain bytes. The checker maps the Windows-1250 driver id 0xC8 to
// that table, as the Borland engine orders these tables.
const
  AnsiHungarian: TCollationTable = (
      0,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,  13,  14,  15,
     16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,
     32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,
     48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,
     64,  66,  71,  73,  75,  77,  81,  83,  85,  87,  92,  94,  96,  98, 100, 102,
    113, 115, 117, 119, 121, 123, 134, 136, 138, 140, 142, 143, 144, 145, 146, 147,
    148,  65,  70,  72,  74,  76,  80,  82,  84,  86,  91,  93,  95,  97,  99, 101,
    112, 114, 116, 118, 120, 122, 133, 135, 137, 139, 141, 149, 150, 151, 152, 153,
    250, 251, 154, 252, 155, 156, 157, 158, 253, 159, 160, 161, 126, 162, 163,  90,
    254, 164, 165, 166, 167, 168, 169, 170, 255, 171, 172, 173, 132, 174, 111, 175,
    176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191,
    192, 193, 194, 195, 196, 197, 198, 199, 200, 201, 202, 203, 105, 204, 130, 205,
    206,  68, 207, 208, 209, 210,  69, 211, 212,  79, 213, 214, 215,  89, 216, 217,
    218, 219, 220, 104, 221, 110, 107, 222, 223, 224, 125, 131, 128, 225, 226, 227,
    228,  67, 229, 230, 231, 232, 233, 234, 235,  78, 236, 237, 238,  88, 239, 240,
    241, 242, 243, 103, 109, 108, 106, 244, 245, 246, 124, 129, 127, 247, 248, 249
  );

type
  TCheckDbf = class(TDbf)
  public
    WantWrite: Boolean;
    DecidedCodePage: Cardinal;
    function RawTranslate(Dbf: TDbf; Src, Dest: PChar; ToOem: Boolean): Integer;
    procedure LanguageWarning(Dbf: TDbf; var Action: TDbfLanguageAction);
    function TextCodePage: Cardinal;
    procedure PutData(Field: TField; Buffer: Pointer);
  end;

function TCheckDbf.RawTranslate(Dbf: TDbf; Src, Dest: PChar; ToOem: Boolean): Integer;
begin
  Result := StrLen(Src);
  if Src <> Dest then
    Move(Src^, Dest^, Result + 1);
end;

// TDbf opens a table whose code page the machine cannot translate read-only. Writing still
// works when TDbf is told to pass bytes through; the code page it decided on is kept for the
// checker's own conversion.
procedure TCheckDbf.LanguageWarning(Dbf: TDbf; var Action: TDbfLanguageAction);
begin
  DecidedCodePage := CodePage;
  if WantWrite then
    Action := laForceANSI
  else
    Action := laReadOnly;
end;

function TCheckDbf.TextCodePage: Cardinal;
begin
  if DecidedCodePage <> 0 then
    Result := DecidedCodePage
  else
    Result := CodePage;
end;

procedure TCheckDbf.PutData(Field: TField; Buffer: Pointer);
begin
  SetFieldData(Field, Buffer);
end;

procedure NoTransliteration(Dbf: TDbf);
var
  I: Integer;
begin
  for I := 0 to Dbf.FieldCount - 1 do
    if Dbf.Fields[I] is TStringField then
      TStringField(Dbf.Fields[I]).Transliterate := False
    else if Dbf.Fields[I] is TBlobField then
      TBlobField(Dbf.Fields[I]).Transliterate := False;
end;

procedure Fail(const Msg: string);
begin
  WriteLn(StdErr, 'tdbfcheck: ', Msg);
  Halt(2);
end;

function Escape(const S: RawByteString): string;
var
  I: Integer;
  C: Char;
begin
  Result := '';
  for I := 1 to Length(S) do
  begin
    C := S[I];
    case C of
      '\': Result := Result + '\\';
      #10: Result := Result + '\n';
      #13: Result := Result + '\r';
      #9: Result := Result + '\t';
    else
      if Ord(C) < 32 then
        Result := Result + '\x' + IntToHex(Ord(C), 2)
      else
        Result := Result + C;
    end;
  end;
end;

function Unescape(const S: string): RawByteString;
var
  I: Integer;
begin
  Result := '';
  I := 1;
  while I <= Length(S) do
  begin
    if (S[I] = '\') and (I < Length(S)) then
    begin
      Inc(I);
      case S[I] of
        'n': Result := Result + #10;
        'r': Result := Result + #13;
        't': Result := Result + #9;
        'x':
          begin
            Result := Result + Chr(StrToInt('$' + Copy(S, I + 1, 2)));
            Inc(I, 2);
          end;
      else
        Result := Result + S[I];
      end;
    end
    else
      Result := Result + S[I];
    Inc(I);
  end;
end;

// Code-page bytes to UTF-8 and back, with iconv through cwstring.
function BytesToUtf8(const Bytes: RawByteString; CodePage: Cardinal): string;
var
  R: RawByteString;
begin
  R := Bytes;
  UniqueString(R);
  SetCodePage(R, CodePage, False);
  SetCodePage(R, CP_UTF8, True);
  SetLength(Result, Length(R));
  if Length(R) > 0 then
    Move(R[1], Result[1], Length(R));
end;

function Utf8ToBytes(const Text: RawByteString; CodePage: Cardinal): RawByteString;
var
  R: RawByteString;
begin
  R := Text;
  UniqueString(R);
  SetCodePage(R, CP_UTF8, False);
  SetCodePage(R, CodePage, True);
  Result := R;
end;

function DoubleHex(D: Double): string;
var
  Bits: QWord absolute D;
begin
  Result := IntToHex(Bits, 16);
end;

function HexDouble(const S: string): Double;
var
  Bits: QWord;
  D: Double absolute Bits;
begin
  Bits := StrToQWord('$' + S);
  Result := D;
end;

function ParseDateTime(const S: string): TDateTime;
var
  Y, Mo, D, H, Mi, Se: Word;
begin
  Y := StrToInt(Copy(S, 1, 4));
  Mo := StrToInt(Copy(S, 6, 2));
  D := StrToInt(Copy(S, 9, 2));
  Result := EncodeDate(Y, Mo, D);
  if Length(S) >= 19 then
  begin
    H := StrToInt(Copy(S, 12, 2));
    Mi := StrToInt(Copy(S, 15, 2));
    Se := StrToInt(Copy(S, 18, 2));
    Result := Result + EncodeTime(H, Mi, Se, 0);
  end;
end;

function MemoBytes(Dbf: TDbf; Field: TField): RawByteString;
var
  Stream: TStream;
begin
  Result := '';
  Stream := Dbf.CreateBlobStream(Field, bmRead);
  try
    SetLength(Result, Stream.Size);
    if Stream.Size > 0 then
      Stream.ReadBuffer(Result[1], Stream.Size);
  finally
    Stream.Free;
  end;
end;

function StringBytes(Dbf: TDbf; Field: TField): RawByteString;
var
  Buffer: array[0..1023] of Char;
begin
  FillChar(Buffer, SizeOf(Buffer), 0);
  Dbf.GetFieldData(Field, @Buffer[0]);
  Result := StrPas(@Buffer[0]);
end;

function OpenTable(const Path: string): TCheckDbf;
begin
  Result := TCheckDbf.Create(nil);
  Result.FilePathFull := ExtractFilePath(ExpandFileName(Path));
  Result.TableName := ExtractFileName(Path);
  Result.OnTranslate := @Result.RawTranslate;
  Result.OnLanguageWarning := @Result.LanguageWarning;
end;

procedure Dump(const Path: string);
var
  Dbf: TCheckDbf;
  I, RecNo: Integer;
  Field: TField;
  FieldDef: TDbfFieldDef;
  Value: string;
begin
  if not FileExists(Path) then
    Fail('no such table: ' + Path);
  Dbf := OpenTable(Path);
  try
    Dbf.ReadOnly := True;
    Dbf.ShowDeleted := True;
    Dbf.Open;
    NoTransliteration(Dbf);
    WriteLn('level ', Dbf.TableLevel);
    WriteLn('langid ', Dbf.LanguageID);
    WriteLn('langname ', StrPas(PChar(Dbf.LanguageStr)));
    WriteLn('codepage ', Dbf.TextCodePage);
    for I := 0 to Dbf.DbfFieldDefs.Count - 1 do
    begin
      FieldDef := Dbf.DbfFieldDefs.Items[I];
      WriteLn('field ', FieldDef.FieldName, ' ', FieldDef.NativeFieldType, ' ', FieldDef.Size, ' ',
        FieldDef.Precision);
    end;
    RecNo := 0;
    Dbf.First;
    while not Dbf.EOF do
    begin
      Inc(RecNo);
      if Dbf.IsDeleted then
        WriteLn('record ', RecNo, ' deleted')
      else
        WriteLn('record ', RecNo);
      for I := 0 to Dbf.FieldCount - 1 do
      begin
        Field := Dbf.Fields[I];
        if Field.IsNull and not (Field.DataType in [ftMemo, ftBlob, ftString]) then
          Value := '<null>'
        else
          case Field.DataType of
            ftString:
              if Field.IsNull then
                Value := '<null>'
              else
                Value := Escape(BytesToUtf8(StringBytes(Dbf, Field), Dbf.TextCodePage));
            ftMemo, ftBlob:
              if Field.IsNull then
                Value := '<null>'
              else
                Value := Escape(BytesToUtf8(MemoBytes(Dbf, Field), Dbf.TextCodePage));
            ftSmallInt, ftInteger, ftWord, ftLargeint, ftAutoInc:
              Value := IntToStr(Field.AsLargeInt);
            ftFloat, ftCurrency:
              Value := DoubleHex(Field.AsFloat) + ' (' + FloatToStrF(Field.AsFloat, ffGeneral, 17, 0) + ')';
            ftBoolean:
              if Field.AsBoolean then Value := 'T' else Value := 'F';
            ftDate:
              Value := FormatDateTime('yyyy"."mm"."dd', Field.AsDateTime);
            ftDateTime, ftTimeStamp:
              Value := FormatDateTime('yyyy"."mm"."dd hh":"nn":"ss"."zzz', Field.AsDateTime);
          else
            Value := '<unsupported ' + FieldTypeNames[Field.DataType] + '>';
          end;
        WriteLn(Field.FieldName, '=', Value);
      end;
      Dbf.Next;
    end;
    WriteLn('end');
    Dbf.Close;
  finally
    Dbf.Free;
  end;
end;

procedure SetValue(Dbf: TCheckDbf; Field: TField; const Text: string);
var
  Bytes: RawByteString;
  Buffer: array[0..1023] of Char;
  Stream: TStream;
begin
  if Text = '<null>' then
  begin
    Field.Clear;
    Exit;
  end;
  case Field.DataType of
    ftString:
      begin
        Bytes := Utf8ToBytes(Unescape(Text), Dbf.TextCodePage);
        FillChar(Buffer, SizeOf(Buffer), 0);
        if Length(Bytes) > 0 then
          Move(Bytes[1], Buffer[0], Length(Bytes));
        Dbf.PutData(Field, @Buffer[0]);
      end;
    ftMemo:
      begin
        Bytes := Utf8ToBytes(Unescape(Text), Dbf.TextCodePage);
        Stream := Dbf.CreateBlobStream(Field, bmWrite);
        try
          if Length(Bytes) > 0 then
            Stream.WriteBuffer(Bytes[1], Length(Bytes));
        finally
          Stream.Free;
        end;
      end;
    ftSmallInt, ftInteger, ftLargeint:
      Field.AsLargeInt := StrToInt64(Text);
    ftFloat:
      if Length(Text) >= 16 then
        Field.AsFloat := HexDouble(Copy(Text, 1, 16))
      else
        Fail('a float value is given as 16 hex digits: ' + Text);
    ftBoolean:
      Field.AsBoolean := Text = 'T';
    ftDate, ftDateTime:
      Field.AsDateTime := ParseDateTime(Text);
  else
    Fail('cannot set field ' + Field.FieldName);
  end;
end;

procedure Write(const Path, ContentPath: string; Append: Boolean);
var
  Lines: TStringList;
  Dbf: TCheckDbf;
  I, P, Level, LangId: Integer;
  Line, Key: string;
  Parts: TStringArray;
  InRecord, DeleteIt, Opened: Boolean;
  Defs: TDbfFieldDefs;

  procedure OpenNow;
  begin
    if not Append then
    begin
      Dbf.TableLevel := Level;
      if LangId >= 0 then
        Dbf.LanguageID := LangId;
      Dbf.CreateTableEx(Defs);
    end;
    Dbf.Exclusive := True;
    Dbf.Open;
    NoTransliteration(Dbf);
    Opened := True;
  end;

  procedure FinishRecord;
  begin
    if InRecord then
    begin
      Dbf.Post;
      if DeleteIt then
        Dbf.Delete;
    end;
    InRecord := False;
  end;

begin
  if Append and not FileExists(Path) then
    Fail('no such table: ' + Path);
  Lines := TStringList.Create;
  Dbf := OpenTable(Path);
  Dbf.WantWrite := True;
  Defs := TDbfFieldDefs.Create(nil);
  try
    Lines.LoadFromFile(ContentPath);
    Level := 7;
    LangId := -1;
    InRecord := False;
    DeleteIt := False;
    Opened := False;
    for I := 0 to Lines.Count - 1 do
    begin
      Line := Lines[I];
      if Line = '' then
        Continue;
      if InRecord and (Pos('=', Line) > 0) then
      begin
        P := Pos('=', Line);
        Key := Copy(Line, 1, P - 1);
        SetValue(Dbf, Dbf.FieldByName(Key), Copy(Line, P + 1, MaxInt));
        Continue;
      end;
      Parts := Line.Split([' ']);
      case Parts[0] of
        'level': Level := StrToInt(Parts[1]);
        'langid': LangId := StrToInt(Parts[1]);
        'field':
          with Defs.AddFieldDef do
          begin
            FieldName := Parts[1];
            NativeFieldType := Parts[2][1];
            Size := StrToInt(Parts[3]);
            Precision := StrToInt(Parts[4]);
          end;
        'record':
          begin
            if not Opened then
              OpenNow;
            FinishRecord;
            Dbf.Append;
            InRecord := True;
            DeleteIt := (Length(Parts) > 1) and (Parts[1] = 'deleted');
          end;
        'end':
          begin
            if not Opened then
              OpenNow;
            FinishRecord;
          end;
      else
        Fail('cannot read content line: ' + Line);
      end;
    end;
    if not Opened then
      OpenNow;
    FinishRecord;
    Dbf.Close;
  finally
    Dbf.Free;
    Defs.Free;
    Lines.Free;
  end;
end;

procedure ListTags(const Path: string);
var
  Dbf: TCheckDbf;
  Names: TStringList;
  I: Integer;
  Def: TDbfIndexDef;
  Direction, Order: string;
  Count: Integer;
begin
  if not FileExists(Path) then
    Fail('no such table: ' + Path);
  Dbf := OpenTable(Path);
  Names := TStringList.Create;
  try
    Dbf.ReadOnly := True;
    Dbf.Open;
    NoTransliteration(Dbf);
    Dbf.GetIndexNames(Names);
    for I := 0 to Names.Count - 1 do
    begin
      Def := Dbf.IndexDefs.GetIndexByName(Names[I]);
      Direction := 'asc';
      if (Def <> nil) and (ixDescending in Def.Options) then
        Direction := 'desc';
      if Def <> nil then
        WriteLn('tag ', Names[I], ' ', Def.SortField, ' ', Direction)
      else
        WriteLn('tag ', Names[I], ' ? ', Direction);
      Dbf.IndexName := Names[I];
      Dbf.First;
      Order := 'order';
      Count := 0;
      // A tag whose pages TDbf misreads can walk forever: stop past the record count.
      while (not Dbf.EOF) and (Count <= Dbf.PhysicalRecordCount) do
      begin
        Order := Order + ' ' + IntToStr(Dbf.PhysicalRecNo);
        Inc(Count);
        Dbf.Next;
      end;
      WriteLn(Order);
    end;
    WriteLn('end');
    Dbf.Close;
  finally
    Names.Free;
    Dbf.Free;
  end;
end;

procedure AddTags(const Path: string);
var
  Dbf: TCheckDbf;
  I: Integer;
  Spec, Field: string;
  Options: TIndexOptions;
begin
  if not FileExists(Path) then
    Fail('no such table: ' + Path);
  Dbf := OpenTable(Path);
  try
    Dbf.WantWrite := True;
    Dbf.Exclusive := True;
    Dbf.Open;
    NoTransliteration(Dbf);
    for I := 3 to ParamCount do
    begin
      Spec := ParamStr(I);
      Options := [];
      Field := Spec;
      if Pos(':desc', Spec) > 0 then
      begin
        Field := Copy(Spec, 1, Pos(':desc', Spec) - 1);
        Options := [ixDescending];
      end;
      Dbf.AddIndex(Field, Field, Options);
    end;
    Dbf.Close;
  finally
    Dbf.Free;
  end;
end;

begin
  RegisterCollation($C8, @AnsiHungarian, 'ANHUNDC');
  try
    if (ParamCount = 2) and (ParamStr(1) = 'dump') then
      Dump(ParamStr(2))
    else if (ParamCount = 3) and (ParamStr(1) = 'write') then
      Write(ParamStr(2), ParamStr(3), False)
    else if (ParamCount = 3) and (ParamStr(1) = 'append') then
      Write(ParamStr(2), ParamStr(3), True)
    else if (ParamCount = 2) and (ParamStr(1) = 'tags') then
      ListTags(ParamStr(2))
    else if (ParamCount >= 3) and (ParamStr(1) = 'index') then
      AddTags(ParamStr(2))
    else
      Fail('usage: tdbfcheck dump|tags <table.dbf> | write|append <table.dbf> <content.txt> | index <table.dbf> <FIELD>[:desc] ...');
  except
    on E: Exception do
      Fail(E.ClassName + ': ' + E.Message);
  end;
end.
