#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/StdFields.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FormatSettings.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class FieldTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase();
        ResetFormatSettings();
    }

    TQuery* Open(const std::string& Sql) {
        auto* Q = new TQuery(Owner);
        Q->SetDatabaseName("Shop");
        Q->SQL()->SetText(Sql);
        Q->Open();
        return Q;
    }
};

// One row of every kind of column, all NULL.
constexpr const char* NullRowSql =
    "insert into TIMECLOCK (TimeClockNbr) values (1);"
    "insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR) values (1, 1, 1);";
constexpr const char* NullRowSelect =
    "select T.EmpNbr, T.WorkDt, T.TimeOn, T.RegTime, T.LatLngOn, L.UNIT_REF_ID, L.NOTES "
    "from TIMECLOCK T, LIB_ITEM L";

TEST_F(FieldTest, ANullIsANullVariantButZeroOrEmptyThroughTheTypedGetters) {
    Exec(NullRowSql);
    TQuery* Q = Open(NullRowSelect);
    ASSERT_EQ(Q->FieldCount(), 7);
    for (int I = 0; I < Q->FieldCount(); ++I) {
        const TField* F = Q->Fields()[I];
        SCOPED_TRACE(F->FieldName());
        EXPECT_TRUE(F->IsNull());
        EXPECT_TRUE(F->Value().IsNull());
        EXPECT_THROW(static_cast<void>(static_cast<int>(F->Value())), EVariantTypeCastError);
        EXPECT_THROW(static_cast<void>(static_cast<AnsiString>(F->Value())), EVariantTypeCastError);
        EXPECT_EQ(F->AsString(), "");
        EXPECT_EQ(F->DisplayText(), "");
        if (F->DataType() != ftDate && F->DataType() != ftDateTime && F->DataType() != ftMemo) {
            EXPECT_EQ(F->AsInteger(), 0);
            EXPECT_EQ(F->AsFloat(), 0.0);
        }
    }
    EXPECT_EQ(Q->FieldByName("TimeOn")->AsDateTime(), 0.0);
    EXPECT_FALSE(Q->FieldByName("EmpNbr")->AsBoolean());
}

TEST_F(FieldTest, TheFieldClassComesFromTheDeclaredType) {
    Exec(NullRowSql);
    Exec("update TIMECLOCK set LatLngOn = 'north', RegTime = 7.5, EmpNbr = 12;"
         "update LIB_ITEM set UNIT_REF_ID = 3, NOTES = 'long text', UNIT_COST = 2");
    TQuery* Q = Open("select T.EmpNbr, T.WorkDt, T.TimeOn, T.RegTime, T.LatLngOn, L.UNIT_REF_ID, "
                     "L.NOTES, L.UNIT_COST, T.EmpNbr * 2 as Twice, T.RegTime / 2 as Half, "
                     "T.LatLngOn || '!' as Shout, max(T.EmpNbr, 3000000000) as Big "
                     "from TIMECLOCK T, LIB_ITEM L");
    struct Case {
        const char* Field;
        TFieldType Type;
        const char* Class;
        int Size;
        int DataSize;
        int Width;
    };
    const Case Cases[] = {
        {"EmpNbr", ftInteger, "TIntegerField", 0, 4, 11},
        {"WorkDt", ftDate, "TDateField", 0, 4, 10},
        {"TimeOn", ftDateTime, "TDateTimeField", 0, 8, 19},
        {"RegTime", ftFloat, "TFloatField", 0, 8, 10},
        {"LatLngOn", ftString, "TStringField", 50, 51, 50},
        {"UNIT_REF_ID", ftSmallint, "TSmallintField", 0, 2, 6},
        {"NOTES", ftMemo, "TMemoField", 0, 0, 10},
        {"UNIT_COST", ftFloat, "TFloatField", 0, 8, 10},
        {"Twice", ftInteger, "TIntegerField", 0, 4, 11},
        {"Half", ftFloat, "TFloatField", 0, 8, 10},
        {"Shout", ftString, "TStringField", 6, 7, 6},
        {"Big", ftFloat, "TFloatField", 0, 8, 10},
    };
    for (const Case& C : Cases) {
        const TField* F = Q->FieldByName(C.Field);
        EXPECT_EQ(F->DataType(), C.Type) << C.Field;
        EXPECT_EQ(F->ClassName(), C.Class) << C.Field;
        EXPECT_EQ(F->Size(), C.Size) << C.Field;
        EXPECT_EQ(F->DataSize(), C.DataSize) << C.Field;
        EXPECT_EQ(F->DisplayWidth(), C.Width) << C.Field;
        EXPECT_EQ(F->DisplayLabel(), C.Field);
        EXPECT_EQ(F->FieldKind(), fkData);
    }
    EXPECT_EQ(Q->FieldByName("Twice")->AsInteger(), 24);
    EXPECT_EQ(Q->FieldByName("NOTES")->AsString(), "long text");
    EXPECT_EQ(Q->FieldByName("NOTES")->DisplayText(), "(MEMO)");
    EXPECT_EQ(Q->FieldByName("Big")->AsString(), "3000000000");
}

TEST_F(FieldTest, ARepeatedColumnNameGetsASuffix) {
    Exec("insert into DEPT (DeptNbr, Name, Seq) values (1, 'Saw', 1)");
    TQuery* Q = Open("select D.Name, O.Name, D.Name as Name_1, D.Seq from DEPT D, DEPT O "
                     "where D.DeptNbr = 1 and O.DeptNbr = -99");
    ASSERT_EQ(Q->FieldCount(), 4);
    EXPECT_EQ(Q->Fields()[0]->FieldName(), "Name");
    EXPECT_EQ(Q->Fields()[1]->FieldName(), "Name_1");
    EXPECT_EQ(Q->Fields()[2]->FieldName(), "Name_1_1");
    EXPECT_EQ(Q->FieldByName("Name_1")->AsString(), "");
    EXPECT_EQ(Q->FieldByName("Name_1_1")->AsString(), "Saw");
}

TEST_F(FieldTest, DatesReadAndShowInTheStatementForm) {
    struct Case {
        const char* Stored;
        const char* AsDateTimeText; // the TIMESTAMP column's AsString
        const char* AsDateText;     // the DATE column's AsString
        double Value;
    };
    const Case Cases[] = {
        {"2024/03/05 14:07:09", "2024/03/05 14:07:09", "2024/03/05", 45356 + 50829.0 / 86400},
        {"2024/03/05", "2024/03/05", "2024/03/05", 45356},
        {"2024/03/05 00:00:00", "2024/03/05", "2024/03/05", 45356},
        {"2024-03-05", "2024/03/05", "2024/03/05", 45356},
        {"2024-03-05T14:07:09.250", "2024/03/05 14:07:09", "2024/03/05", 45356 + 50829.25 / 86400},
        {"1899/12/29 06:00", "1899/12/29 06:00:00", "1899/12/29", -1.25},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Stored);
        Exec(std::string("delete from TIMECLOCK; insert into TIMECLOCK (TimeClockNbr, WorkDt, "
                         "TimeOn) values (1, '") +
             C.Stored + "', '" + C.Stored + "')");
        TQuery* Q = Open("select WorkDt, TimeOn from TIMECLOCK");
        const TField* Stamp = Q->FieldByName("TimeOn");
        EXPECT_EQ(Stamp->AsString(), C.AsDateTimeText);
        EXPECT_EQ(Q->FieldByName("WorkDt")->AsString(), C.AsDateText);
        EXPECT_NEAR(Stamp->AsDateTime(), C.Value, 1e-8);
        EXPECT_EQ(Stamp->Value().Type(), varDate);
        EXPECT_NEAR(static_cast<double>(Stamp->Value().AsDateTime()), C.Value, 1e-8);
        delete Q;
    }

    // Text that is no date shows as it stands and refuses to be read as one.
    Exec("update TIMECLOCK set TimeOn = 'soon'");
    TQuery* Q = Open("select TimeOn from TIMECLOCK");
    const TField* Stamp = Q->FieldByName("TimeOn");
    EXPECT_EQ(Stamp->AsString(), "soon");
    EXPECT_THROW(Stamp->AsDateTime(), EConvertError);
    EXPECT_THROW(Stamp->Value(), EConvertError);
}

TEST_F(FieldTest, TypedGettersConvertBetweenKinds) {
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, RegTime, LatLngOn, LatLngOff) "
         "values (1, 0, 2.5, '42', 'yes')");
    TQuery* Q = Open("select EmpNbr, RegTime, LatLngOn, LatLngOff, 3.5 as R from TIMECLOCK");
    EXPECT_FALSE(Q->FieldByName("EmpNbr")->AsBoolean());
    EXPECT_EQ(Q->FieldByName("EmpNbr")->Value().Type(), varInteger);
    EXPECT_EQ(Q->FieldByName("RegTime")->AsInteger(), 2); // halves go to the even neighbour
    EXPECT_EQ(Q->FieldByName("R")->AsInteger(), 4);
    EXPECT_EQ(Q->FieldByName("RegTime")->AsString(), "2.5");
    EXPECT_EQ(Q->FieldByName("RegTime")->AsCurrency(), Currency(2.5));
    EXPECT_EQ(Q->FieldByName("LatLngOn")->AsInteger(), 42);
    EXPECT_TRUE(Q->FieldByName("LatLngOff")->AsBoolean());
    EXPECT_THROW(Q->FieldByName("LatLngOff")->AsInteger(), EConvertError);
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Q->FieldByName("EmpNbr")->AsDateTime(); }),
                HasSubstr("'EmpNbr'"));
}

TEST_F(FieldTest, ValuesThatDoNotFitTheirColumnRefuseToOpen) {
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr) values (1, 'twelve')");
    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("Shop");
    Q->SQL()->SetText("select EmpNbr from TIMECLOCK");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Q->Open(); }),
                testing::AllOf(HasSubstr("'twelve'"), HasSubstr("'EmpNbr'")));
    EXPECT_FALSE(Q->Active());
    EXPECT_EQ(Q->FieldCount(), 0);
}

TEST_F(FieldTest, PersistentFieldsGiveTheShapeOfTheResult) {
    Exec("insert into USER_LOGON (USERID, NAME, DORN_USER) values (2, 'bob', 20), (1, 'ann', 10)");
    // Made before its query: the owner frees the query first, which frees the field.
    auto* Name = new TStringField(Owner);
    auto* Q = new TQuery(Owner);
    Q->SetName("UserLogonQ");
    Q->SetDatabaseName("Shop");
    Q->SQL()->SetText("Select USERID, NAME,DORN_USER\nfrom USER_LOGON\norder by NAME");
    Name->SetName("UserLogonQNAME");
    Name->SetFieldName("NAME");
    Name->SetSize(10);
    Name->SetDisplayLabel("User Id");
    Name->SetDisplayWidth(9);
    auto* User = new TIntegerField(Owner);
    User->SetFieldName("DORN_USER");
    User->SetVisible(false);
    User->SetDataSet(Q);
    Name->SetDataSet(Q);
    Name->SetIndex(0);

    Q->Open();
    ASSERT_EQ(Q->FieldCount(), 2); // USERID has no field: it is not part of the result
    EXPECT_EQ(Q->Fields()[0], Name);
    EXPECT_EQ(Name->AsString(), "ann");
    EXPECT_EQ(Name->DisplayLabel(), "User Id");
    EXPECT_EQ(Name->DisplayWidth(), 9);
    EXPECT_EQ(User->AsInteger(), 10);
    EXPECT_FALSE(User->Visible());
    EXPECT_EQ(Q->FindField("USERID"), nullptr);
    EXPECT_THROW(Name->SetDataSet(nullptr), EDatabaseError); // only while closed
    Q->Close();
    EXPECT_EQ(Q->FieldCount(), 2); // persistent fields stay

    // A persistent field whose column the statement lacks stops the opening.
    Q->SQL()->SetText("select NAME from USER_LOGON");
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { Q->Open(); }), "Field 'DORN_USER' not found");
    EXPECT_FALSE(Q->Active());
    delete User;
    Q->Open();
    EXPECT_EQ(Q->FieldCount(), 1);
}

TEST_F(FieldTest, CalculatedFieldsAreClearedAndComputedOnEveryMove) {
    Exec("insert into DEPT (DeptNbr, Name, Seq) values (1, 'Saw', 1), (2, 'Glue', 2);"
         "insert into EMPLOYEE (EmpNbr, Fname, DeptNbr) values (1, 'Ann', 1), (2, 'Bob', 1)");
    auto* List = new TQuery(Owner);
    List->SetDatabaseName("Shop");
    List->SQL()->SetText("select DeptNbr, Name from DEPT where DeptNbr > 0 order by DeptNbr");
    auto* Dept = new TIntegerField(Owner);
    Dept->SetFieldName("DeptNbr");
    Dept->SetDataSet(List);
    auto* Caption = new TStringField(Owner, 8);
    Caption->SetFieldName("Caption");
    Caption->SetFieldKind(fkCalculated);
    Caption->SetDataSet(List);
    auto* Staff = new TIntegerField(Owner);
    Staff->SetFieldName("Staff");
    Staff->SetFieldKind(fkCalculated);
    Staff->SetDataSet(List);

    // The handler runs another query, and appends to a field that must start empty.
    auto* Lookup = new TQuery(Owner);
    Lookup->SetDatabaseName("Shop");
    Lookup->SQL()->SetText("select count(*) as N from EMPLOYEE where DeptNbr = :a");
    int Calls = 0;
    List->OnCalcFields = [&](TDataSet* DataSet) {
        ++Calls;
        EXPECT_EQ(DataSet->State(), dsCalcFields);
        Caption->SetAsString(Caption->AsString() + "Dept " + Dept->AsString() + " (long)");
        Lookup->Close();
        Lookup->ParamByName("a")->SetAsInteger(Dept->AsInteger());
        Lookup->Open();
        if (Lookup->FieldByName("N")->AsInteger() > 0)
            Staff->SetAsInteger(Lookup->FieldByName("N")->AsInteger());
    };
    List->Open();
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(Caption->AsString(), "Dept 1 ("); // cut to the field's size
    EXPECT_EQ(Staff->AsInteger(), 2);
    EXPECT_EQ(Staff->FieldKind(), fkCalculated);
    List->Next();
    EXPECT_EQ(Caption->AsString(), "Dept 2 (");
    EXPECT_TRUE(Staff->IsNull()); // cleared before the handler, which left it alone
    List->First();
    EXPECT_EQ(Staff->AsInteger(), 2);
    EXPECT_EQ(Calls, 3);

    // Outside the handler no field can be written, and the handler cannot close its own query.
    EXPECT_THROW(Caption->SetAsString("x"), EDatabaseError);
    EXPECT_THROW(Dept->SetAsInteger(5), EDatabaseError);
    List->OnCalcFields = [&](TDataSet* DataSet) { DataSet->Close(); };
    EXPECT_THROW(List->Next(), EDatabaseError);
    EXPECT_TRUE(List->Active());
    EXPECT_EQ(List->State(), dsBrowse);
}

TEST_F(FieldTest, AHandlerErrorLeavesTheMoveAndTheQueryUsable) {
    Exec("insert into CURRENT_USERS (UserId, TimeOn) values (1, '2024/03/05 14:07:00'),"
         "(2, 'garbage')");
    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("Shop");
    Q->SQL()->SetText("select UserId, TimeOn from CURRENT_USERS order by UserId");
    auto* On = new TDateTimeField(Owner);
    On->SetFieldName("TimeOn");
    On->SetDataSet(Q);
    auto* Show = new TStringField(Owner, 20);
    Show->SetFieldName("ShowTimeOn");
    Show->SetFieldKind(fkCalculated);
    Show->SetDataSet(Q);
    Q->OnCalcFields = [&](TDataSet*) {
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        Show->SetAsString(FormatDateTime("ddd mmm d h:nnam/pm", StrToDateTime(On->AsString())));
    };
    Q->Open();
    EXPECT_EQ(Show->AsString(), "Tue Mar 5 2:07pm");
    EXPECT_THROW(Q->Next(), EConvertError);
    EXPECT_EQ(Q->RecNo(), 2);
    EXPECT_EQ(Q->State(), dsBrowse);
    Q->First();
    EXPECT_EQ(Show->AsString(), "Tue Mar 5 2:07pm");
}

TEST_F(FieldTest, DisplayTextFollowsFormatsAndOnGetText) {
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, RegTime, TimeOn, LatLngOn) "
         "values (1, 1234, 1234.5, '2024/03/05 14:07:00', 'x')");
    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("Shop");
    Q->SQL()->SetText("select EmpNbr, RegTime, RegTime as Money, TimeOn, LatLngOn from TIMECLOCK");
    auto* Emp = new TIntegerField(Owner);
    Emp->SetFieldName("EmpNbr");
    Emp->SetDisplayFormat("#,##0");
    auto* Reg = new TFloatField(Owner);
    Reg->SetFieldName("RegTime");
    Reg->SetDisplayFormat("#.000");
    auto* Money = new TCurrencyField(Owner);
    Money->SetFieldName("Money");
    auto* On = new TDateTimeField(Owner);
    On->SetFieldName("TimeOn");
    On->SetDisplayFormat("mm/dd/yy");
    auto* Text = new TStringField(Owner, 50);
    Text->SetFieldName("LatLngOn");
    Text->OnGetText = [](TField* Sender, AnsiString& Shown, bool Display) {
        Shown = (Display ? "shown " : "edited ") + Sender->AsString();
    };
    for (TField* F : std::initializer_list<TField*>{Emp, Reg, Money, On, Text})
        F->SetDataSet(Q);
    Q->Open();
    EXPECT_EQ(Emp->DisplayText(), "1,234");
    EXPECT_EQ(Emp->AsString(), "1234");
    EXPECT_EQ(Reg->DisplayText(), "1234.500");
    EXPECT_EQ(Money->DisplayText(), "$1,234.50");
    EXPECT_EQ(Money->DataType(), ftCurrency);
    EXPECT_EQ(On->DisplayText(), "03/05/24");
    EXPECT_EQ(On->AsString(), "2024/03/05 14:07:00");
    EXPECT_EQ(Text->DisplayText(), "shown x");
    EXPECT_EQ(Text->Text(), "edited x");
}

} // namespace
